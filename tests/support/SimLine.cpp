#include "SimLine.h"

#include "LineSetup.h"

SimLine::SimLine(const SimLineOptions& o)
    : faults(o.seed, o.faults), service(model, clock, faults, stats), options_(o) {
    if (o.blocks.isEmpty()) rdxsim::BuildDemoLine(model);
    else if (!rdxsim::BuildLineFromList(model, o.blocks, &error_)) return;
    if (!Serve()) return;
    ISTDComm* raw = TesmarCreateObject(TesmarIds::Class);
    if (!raw) {
        error_ = QStringLiteral("no link object");
        return;
    }
    link_ = std::make_unique<RecordingLink>(std::unique_ptr<ISTDComm>(raw));
    ok_ = true;
}

bool SimLine::Serve() {
    server_ = std::make_unique<rdxsim::PtyServer>(
        service, rdxsim::ServerOptions{options_.baud, options_.turnaroundMs});
    if (!server_->Open(&error_)) return false;
    if (!options_.linkPath.isEmpty() && !server_->PublishLink(options_.linkPath, &error_)) return false;
    if (!server_->Start()) return false;
    const QString device = options_.linkPath.isEmpty() ? server_->SlavePath() : options_.linkPath;
    qputenv("TESMARCOMM_COM1", device.toLocal8Bit());
    return true;
}

void SimLine::StopServing() {
    if (server_) server_->Stop();
    server_.reset();
}

bool SimLine::ServeAgain() {
    StopServing();
    return Serve();
}

SimLine::~SimLine() {
    if (link_) link_->PortClose();
    link_.reset();
    if (server_) server_->Stop();
}
