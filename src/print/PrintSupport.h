#pragma once

#include "platform/PrintTarget.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// tavro-print: the documents rendered to PDF for `tavro-cli print`. Each document registers itself
// with its options and a function that prints it on a target.
namespace tavro::print {

// The options every document shares, parsed before the document runs.
struct PrintArgs {
    QString dataFolder;
    int nendo = 0;
    int grade = 0;
    QString test;          // --test CODE
    QString subject;       // --subject S
    QString teacher;       // --teacher T
    bool elective = false; // --elective
    int period = 0;        // --period K
    QString classes;       // --classes 1,2,... (not given: every class)
    bool classesGiven = false;
    int rangeFrom = 0; // --range A-B
    int rangeTo = 0;
    QDateTime now;
};

struct Document {
    QString name;  // "kondan"
    QString needs; // the options it requires, for the usage text
    // Prints on `target`; 0 printed, 1 a user error (the message was printed).
    int (*print)(const PrintArgs &args, PrintTarget &target) = nullptr;
};
const std::vector<Document> &documents();
struct DocumentRegistration {
    explicit DocumentRegistration(Document document);
};

// The classes of --classes, or 1..classCount without it; false after the message when one is not of the
// grade or the list given holds no class ("学級を選択してください。", as with no class checked).
bool classList(const PrintArgs &args, int classCount, std::vector<int> &classes);
// Messages to stderr; returns 1.
int fail(const QString &message);

} // namespace tavro::print
