#include "process/qt_processes.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace meshforge {

namespace {

QStringList Arguments(const ProcessRequest& r) {
    QStringList out;
    for (const ProgramArg& a : r.Arguments)
        out << QString::fromStdString(a.Text);
    return out;
}

} // namespace

std::optional<ProcessRequest> SystemRequest(const ProcessRequest& request) {
    return ForThisSystem(request, FindWine(std::getenv("MESHFORGE_WINE"), std::getenv("PATH")));
}

bool StartDetached(const ProcessRequest& request) {
    std::optional<ProcessRequest> r = SystemRequest(request);
    return r && QProcess::startDetached(QString::fromStdString(r->Program), Arguments(*r));
}

bool RunAndWait(const ProcessRequest& request) {
    std::optional<ProcessRequest> r = SystemRequest(request);
    if (!r)
        return false;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QString::fromStdString(r->Program), Arguments(*r));
    if (!p.waitForStarted(-1))
        return false;
    p.waitForFinished(-1);
    return true;
}

AsyncProcesses::~AsyncProcesses() {
    Abandon();
}

void AsyncProcesses::Start(const ProcessRequest& request, std::function<void(bool)> ended) {
    std::optional<ProcessRequest> r = SystemRequest(request);
    if (!r) {
        ended(false);
        return;
    }
    auto* p = new QProcess(this);
    running_.push_back(p);
    // Its output is not the editor's; the converter's window is hidden anyway.
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    auto finish = [this, p, ended](bool started) {
        auto it = std::find(running_.begin(), running_.end(), p);
        if (it == running_.end())
            return; // abandoned, or already reported
        running_.erase(it);
        p->deleteLater();
        ended(started);
    };
    connect(p, &QProcess::finished, this, [finish] { finish(true); });
    connect(p, &QProcess::errorOccurred, this, [finish](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            finish(false);
    });
    p->start(QString::fromStdString(r->Program), Arguments(*r));
}

void AsyncProcesses::Abandon() {
    for (QProcess* p : running_) {
        p->disconnect(this);
        // The converter is not stopped: it finishes its file on its own.
        p->setParent(nullptr);
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
    }
    running_.clear();
}

} // namespace meshforge
