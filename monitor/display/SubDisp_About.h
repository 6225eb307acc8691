// The version dialog: program title and version, and the access-code box that shows the
// second loop-break alarm's tool bar on the main window.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class SubDisp_About : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Version = "2.03";
    static constexpr const char* AccessCode = "quarzel";

    explicit SubDisp_About(QWidget* parent = nullptr);

    // Sets the version text; runs when the dialog is created.
    void Form_Load();
    // OK: the dialog unloads; the next opening builds it anew.
    void Command1_Click();
    // The whole text equals the access code, case-sensitively.
    static bool AccessCodeMatches(const QString& text);

    QLabel* Label4 = nullptr;
    QLineEdit* AccessCode_Text = nullptr;
    QPushButton* Command1 = nullptr;

signals:
    // After every change of AccessCode_Text: whether Toolbar3 is to be shown.
    void toolbar3VisibleChanged(bool visible);
};
