#include "common/SessionMessages.h"

namespace tavro {

QString saveFailedQuestion(const QString &error) {
    return QStringLiteral("保存できませんでした。\r\n%"
                          "1\r\n\r\n［はい］もう一度保存します。\r\n［いいえ］保存せずに閉じます。"
                          "\r\n［キャンセル］画面に戻ります。")
        .arg(error);
}

QString readOnlyFileMessage(const QStringList &problems) {
    return QStringLiteral("次のファイルを正しく読み込めませんでした。\r\n%"
                          "1\r\n\r\nデータを守るため、閲覧モードで開きます"
                          "（保存はしません）。")
        .arg(problems.join(QStringLiteral("\r\n")));
}

} // namespace tavro
