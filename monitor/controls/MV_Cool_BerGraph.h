// Output bar in the fixed cooling colour (yellow), without a colour property.
#pragma once

#include "controls/BarGraphBase.h"

class MV_Cool_BerGraph : public BarGraphBase {
    Q_OBJECT

public:
    explicit MV_Cool_BerGraph(QWidget* parent = nullptr);
};
