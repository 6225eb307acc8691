// The tool bars that choose the setting of the setting-change tab: Toolbar2 for the 24
// main settings, Toolbar4 for cooling and scaling, Toolbar3 for the second loop-break
// alarm (hidden until the access code is typed into the version dialog).
#pragma once

#include "exchange/RDX_INC.h"

#include <QObject>
#include <QString>
#include <span>

class QAction;
class QMainWindow;
class QToolBar;
class SettingChangeView;

// One button: its text, tool tip, the setting it chooses, the caption the tab's frame
// then shows (worded apart from the tool tip in places) and the panel it brings forward.
struct SettingButton {
    const char* text;
    const char* toolTip;
    int selectedItem;
    const char* frameCaption;
    int panel;
};

std::span<const SettingButton> Toolbar2Buttons();
std::span<const SettingButton> Toolbar4Buttons();
std::span<const SettingButton> Toolbar3Buttons();
// The frame caption of a setting number as its tool-bar button names it ("主設定" for 1);
// empty for a number no button chooses.
QString SettingCaption(int setting);

class SettingToolbars : public QObject {
    Q_OBJECT
public:
    // Builds the three tool bars on `window`; Toolbar3 starts hidden.
    SettingToolbars(RDX_INC& data, SettingChangeView& view, QMainWindow& window);

    // Button handlers, button = position 1.. on its tool bar; other numbers do nothing.
    void Toolbar2_ButtonClick(int button);
    void Toolbar3_ButtonClick(int button);
    void Toolbar4_ButtonClick(int button);

    // Button `button` (1-based) of a tool bar, or nullptr.
    static QAction* Button(QToolBar* toolbar, int button);

    QToolBar* Toolbar2 = nullptr;
    QToolBar* Toolbar4 = nullptr;
    QToolBar* Toolbar3 = nullptr;

signals:
    // A setting was chosen: SelectedItem is now `selectedItem`.
    void settingChosen(int selectedItem);

private:
    QToolBar* BuildToolbar(QMainWindow& window, const QString& name,
                           std::span<const SettingButton> buttons,
                           void (SettingToolbars::*handler)(int));
    void Choose(std::span<const SettingButton> buttons, int button);

    RDX_INC& d;
    SettingChangeView& view_;
};
