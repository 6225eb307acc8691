// The program's entry procedure and the objects that live for the whole run.
#pragma once

#include "exchange/RDX_INC.h"
#include "history/AlarmHistory.h"

#include <QString>
#include <memory>

class ISTDComm;
class MainDisp;
class MonitorPublishing;
class OpuningDisp;

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

private:
    void EndOfStartup();

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
