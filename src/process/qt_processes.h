#pragma once
// Starting the companion programs with QProcess: argument lists, never a shell, and Windows
// executables through wine on other systems.
#include "output/launch.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QProcess;

namespace meshforge {

// The request as this system must start it (wine for a Windows executable), or nullopt when
// it needs wine and none is there. wine: $MESHFORGE_WINE, else on $PATH.
std::optional<ProcessRequest> SystemRequest(const ProcessRequest& request);

// Start and forget.
bool StartDetached(const ProcessRequest& request);
// Start and wait, blocking (the command line); false if it could not be started.
bool RunAndWait(const ProcessRequest& request);

// Start and wait without blocking (the editor): `ended` runs from the event loop when the
// process has ended, or at once with false when it could not start. Abandon() (the editor
// shutting down) drops every pending `ended`; the programs keep running.
class AsyncProcesses : public QObject {
  public:
    explicit AsyncProcesses(QObject* parent = nullptr) : QObject(parent) {}
    ~AsyncProcesses() override;
    void Start(const ProcessRequest& request, std::function<void(bool)> ended);
    bool Busy() const { return !running_.empty(); }
    void Abandon();

  private:
    std::vector<QProcess*> running_;
};

} // namespace meshforge
