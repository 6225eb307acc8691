// One tab of the main window's tab strip; Refresh() redraws it from the tables.
#pragma once

#include <QWidget>

class TabView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Called after every monitoring request while this tab is visible.
    virtual void Refresh() {}
};
