// What the dialogs reach of the main window, and nothing more: the name lists, the status
// panels, the display of a running bulk write and its end, whether the port is lost. The
// main window implements it; the shell hands it to the dialogs it builds, so no dialog
// knows the window itself.
#pragma once

#include <QString>
#include <functional>

class NameLists;
class WriteRequests;
class QObject;

class Shell {
public:
    virtual ~Shell() = default;

    // The block and channel name lists every form registers with.
    virtual NameLists& nameLists() = 0;
    // Status-bar panels 1..4.
    virtual void SetPanelText(int panel, const QString& text) = 0;
    // ProgressBar1 shown at 0: a bulk write has been asked for.
    virtual void StartWriteProgress() = 0;
    // True while an earlier load's alarm values have not gone out (the 15-s pause, or a
    // lost port).
    virtual bool BulkWriteInProgress() const = 0;
    // Where settings are asked to go to the line.
    virtual WriteRequests& writeRequests() = 0;
    // True while the port's device is gone: nothing can be sent until it is back.
    virtual bool PortLost() const = 0;
    // Runs the handler, in the receiver's context, each time a bulk write's alarm values
    // went out.
    virtual void OnBulkWriteFinished(QObject* receiver, std::function<void()> handler) = 0;
};
