// Output bar with a settable colour: the one-channel view shows heating output in blue and
// the cooling output of a heating/cooling pair in yellow.
#pragma once

#include "controls/BarGraphBase.h"

class MV_BerGraph : public BarGraphBase {
    Q_OBJECT

public:
    static constexpr qint32 DefaultMvColor = 0xFF0000;  // blue

    explicit MV_BerGraph(QWidget* parent = nullptr);

    // Reading the colour also puts it on the bar: a colour restored from the host's store
    // shows only once it has been read or written.
    qint32 MvColor();
    void setMvColor(qint32 value);

    void ReadProperties(const PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) const override;

private:
    qint32 mvColor_ = DefaultMvColor;
};
