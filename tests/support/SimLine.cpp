#include "SimLine.h"

#include "LineSetup.h"

SimLine::SimLine(const SimLineOptions& o)
    : faults(o.seed, o.faults), service(model, clock, faults, stats) {
    if (o.blocks.isEmpty()) rdxsim::BuildDemoLine(model);
    else if (!rdxsim::BuildLineFromSpec(model, o.blocks, &error_)) return;
    server_ = std::make_unique<rdxsim::PtyServer>(service, rdxsim::ServerOptions{o.baud, o.turnaroundMs});
    if (!server_->Open(&error_) || !server_->Start()) return;
    qputenv("TESMARCOMM_COM1", server_->SlavePath().toLocal8Bit());
    ISTDComm* raw = TesmarCreateObject(TesmarIds::Class);
    if (!raw) {
        error_ = QStringLiteral("no link object");
        return;
    }
    link_ = std::make_unique<RecordingLink>(std::unique_ptr<ISTDComm>(raw));
    ok_ = true;
}

void SimLine::StopServing() {
    if (server_) server_->Stop();
}

SimLine::~SimLine() {
    if (link_) link_->PortClose();
    link_.reset();
    if (server_) server_->Stop();
}
