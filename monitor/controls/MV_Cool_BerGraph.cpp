#include "controls/MV_Cool_BerGraph.h"

MV_Cool_BerGraph::MV_Cool_BerGraph(QWidget* parent)
    : BarGraphBase(BarGeometry::CoolingLayout, QColor(255, 255, 0), parent)
{
}
