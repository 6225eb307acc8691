#include "services/PortFailureText.h"

#include <QFile>
#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#endif

QString DeviceGroup(const QString& device) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) == 0 && st.st_gid != 0) {
        if (const group* g = ::getgrgid(st.st_gid)) return QString::fromLocal8Bit(g->gr_name);
    }
#else
    Q_UNUSED(device);
#endif
    return QStringLiteral("dialout");
}

QString PortFailureText(const QString& port, const QString& speed, const OpenFailureInfo& failure) {
    const QString& device = failure.device;
    const QString where = device.isEmpty() ? QStringLiteral("ﾎﾟｰﾄ %1").arg(port)
                                           : QStringLiteral("ﾎﾟｰﾄ %1（%2）").arg(port, device);
    switch (failure.kind) {
    case OpenFailure::NotFound:
        return where + QStringLiteral("が見つかりません。接続とﾃﾞﾊﾞｲｽ名を確認してください。");
    case OpenFailure::Busy:
        if (failure.holder.isEmpty())
            return where + QStringLiteral("は他のﾌﾟﾛｸﾞﾗﾑが使用中です。そのﾌﾟﾛｸﾞﾗﾑを終了してください。");
        return where + QStringLiteral("は他のﾌﾟﾛｸﾞﾗﾑ（%1）が使用中です。そのﾌﾟﾛｸﾞﾗﾑを終了してください。")
                           .arg(failure.holder);
    case OpenFailure::NoPermission:
        return where + QStringLiteral("を開く権限がありません。ﾕｰｻﾞｰを %1 ｸﾞﾙｰﾌﾟに加え"
                                      "（sudo usermod -aG %1 ﾕｰｻﾞｰ名）、ﾛｸﾞｲﾝし直してください。")
                           .arg(DeviceGroup(device));
    case OpenFailure::SettingsRefused:
        return where + QStringLiteral("は通信設定（%1）を受け付けません。ﾃﾞﾊﾞｲｽ名とｼﾘｱﾙ変換器を確認してください。")
                           .arg(failure.detail);
    case OpenFailure::Other:
        return where + QStringLiteral("を開けません（%1）。接続とﾃﾞﾊﾞｲｽ名を確認してください。").arg(failure.detail);
    case OpenFailure::None:
        break;
    }
    return where + QStringLiteral("、%1bps でMGU-500が応答しません。配線、速度、ﾌﾞﾛｯｸ番号を確認してください。").arg(speed);
}
