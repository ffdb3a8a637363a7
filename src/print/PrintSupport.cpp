#include "print/PrintSupport.h"

#include "reports/Conference.h"

#include <QTextStream>

#include <algorithm>

namespace tavro::print {

namespace {

std::vector<Document> &registry() {
    static std::vector<Document> list;
    return list;
}

} // namespace

const std::vector<Document> &documents() {
    return registry();
}

DocumentRegistration::DocumentRegistration(Document document) {
    registry().push_back(std::move(document));
}

int fail(const QString &message) {
    QTextStream e(stderr);
    e.setEncoding(QStringConverter::Utf8);
    e << message << '\n';
    return 1;
}

bool classList(const PrintArgs &args, int classCount, std::vector<int> &classes) {
    classes.clear();
    if (!args.classesGiven) {
        for (int cls = 1; cls <= classCount; ++cls)
            classes.push_back(cls);
        return true;
    }
    for (const QString &part : args.classes.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int cls = part.trimmed().toInt(&ok);
        if (!ok || cls < 1 || cls > classCount) {
            fail(QStringLiteral("「%1」は%2年の組ではありません (%3組まで)。")
                     .arg(part)
                     .arg(args.grade)
                     .arg(classCount));
            return false;
        }
        if (std::find(classes.begin(), classes.end(), cls) == classes.end())
            classes.push_back(cls);
    }
    if (classes.empty()) {
        fail(reports::selectClassMessage());
        return false;
    }
    return true;
}

} // namespace tavro::print
