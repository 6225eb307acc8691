#include "history/GridFormat.h"

QList<GridColumn> ParseGridFormat(const QString& format) {
    QList<GridColumn> columns;
    for (QString part : format.split(QLatin1Char('|'))) {
        Qt::Alignment alignment = Qt::AlignLeft;
        if (part.startsWith(QLatin1Char('<')) || part.startsWith(QLatin1Char('^')) ||
            part.startsWith(QLatin1Char('>'))) {
            if (part[0] == QLatin1Char('^')) alignment = Qt::AlignHCenter;
            if (part[0] == QLatin1Char('>')) alignment = Qt::AlignRight;
            part.remove(0, 1);
        }
        columns.append({part.trimmed(), alignment | Qt::AlignVCenter, part});
    }
    return columns;
}
