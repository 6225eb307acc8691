#include "controls/MV_BerGraph.h"

#include "controls/VbColor.h"

MV_BerGraph::MV_BerGraph(QWidget* parent)
    : BarGraphBase(BarGeometry::HeatingLayout, QColor(0, 0, 255), parent)
{
}

qint32 MV_BerGraph::MvColor()
{
    ApplyBarColor(ColorFromVb(quint32(mvColor_)));
    return mvColor_;
}

void MV_BerGraph::setMvColor(qint32 value)
{
    mvColor_ = value;
    emit propertyChanged(QStringLiteral("MvColor"));
    ApplyBarColor(ColorFromVb(quint32(mvColor_)));
}

void MV_BerGraph::ReadProperties(const PropertyBag& bag)
{
    BarGraphBase::ReadProperties(bag);
    mvColor_ = ReadInt32(bag, QStringLiteral("MvColor"), DefaultMvColor);
}

void MV_BerGraph::WriteProperties(PropertyBag& bag) const
{
    BarGraphBase::WriteProperties(bag);
    WriteInt32(bag, QStringLiteral("MvColor"), mvColor_, DefaultMvColor);
}
