// The program's entry procedure and the objects that live for the whole run.
#pragma once

#include "display/ScreenFit.h"
#include "exchange/RDX_INC.h"
#include "history/AlarmHistory.h"

#include <QString>
#include <functional>
#include <memory>

class ISTDComm;
class MainDisp;
class MonitorPublishing;
class OpuningDisp;
class QTranslator;

using LinkFactory = ISTDComm* (*)(const char* classIdentity);

class RDXApplication {
public:
    explicit RDXApplication(LinkFactory createLink);
    ~RDXApplication();

    // Prepares folders and the history file, shows the opening form, loads the settings
    // and runs the communicate loop until the program ends.
    void StartApplication();

    RDX_INC& data() { return data_; }
    AlarmHistory& history() { return history_; }
    MainDisp& mainWindow() { return *main_; }
    QString programFolder() const { return folder_; }

    // Told the progress count after the opening form painted it, during the start-up read
    // (which blocks the event loop); for observers such as the screen walk.
    std::function<void(int count)> OnStartupProgress;

private:
    void EndOfStartup();

    std::unique_ptr<QTranslator> qtCatalogue_;
    KeepWindowsOnScreen windowKeeper_;
    RDX_INC data_;
    AlarmHistory history_;
    std::unique_ptr<MainDisp> main_;
    // Declared after the main window: it ends (saying "offline") before the window goes.
    std::unique_ptr<MonitorPublishing> publishing_;
    std::unique_ptr<OpuningDisp> splash_;
    QString folder_;
    LinkFactory createLink_;
    bool started_ = false;
};
