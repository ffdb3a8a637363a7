#pragma once

#include "app/DataFolderCheck.h"
#include "common/DataFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The data files as JSON for `dump` and `load`: the same readers and writers as the program, with
// every list in file order.
namespace tavro::cli {

using tavro::DataKind;

QString kindName(DataKind kind);
DataKind kindFromName(const QString &name);
// The kind by the file's place and name: ".def" full scores; ".dat" (or ".bak") in a folder "Test"
// test scores, in "Hyoutei" a class result, in "Sentaku" an elective result, elsewhere a worksheet.
DataKind guessKind(const QString &path);

// JSON of the file bytes. `report` tells what the reader met; false (with `error`) when the file could
// not be read at all (too new a version).
bool dumpJson(DataKind kind, const QByteArray &bytes, QByteArray &json, ReadReport &report, QString &error);

// The file bytes described by JSON (the kind from its "kind"). False with a message naming the bad
// value when the JSON is malformed or a value is out of range.
bool bytesFromJson(const QByteArray &json, QByteArray &bytes, DataKind &kind, QString &error);

// One-generation backup for the evaluation files; test files are replaced.
bool saveData(DataKind kind, const QString &path, const QByteArray &bytes, QString &error);

} // namespace tavro::cli
