// A grid format text: columns separated by "|", each optionally led by "<", "^" or ">"
// (left, centre, right). The heading is the column's text without its surrounding spaces;
// the column is as wide as its text with those spaces.
#pragma once

#include <QList>
#include <QString>

struct GridColumn {
    QString heading;
    Qt::Alignment alignment;
    QString widthText;
};

QList<GridColumn> ParseGridFormat(const QString& format);
