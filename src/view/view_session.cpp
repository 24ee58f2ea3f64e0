#include "view/view_session.h"

namespace zelvano {

ViewSession::ViewSession(std::shared_ptr<const LanguageTable> language, const Clock& clock, QObject* parent)
    : QObject(parent), clock_(clock), shared_(std::make_shared<FetchShared>(std::move(language))) {}

ViewSession::~ViewSession() {
    stopAll();
}

const DrawPassResult& ViewSession::refresh(DrawPassInput input, std::shared_ptr<const FetchSettings> settings) {
    stopLatestLoader();
    input.clock = &clock_;
    shared_->overlayCutoff = kOverlayCutoffReset;
    const FetchContext context{std::move(settings), shared_};
    buffer_->resize(input.size);
    lastPass_ = DrawView(input, context, *buffer_);
    ++passes_;
    if (lastPass_.queue.empty()) {
        latest_ = std::stop_source(std::nostopstate);
        return lastPass_;
    }
    latest_ = std::stop_source();
    auto* loader = new ViewLoader(lastPass_.queue, context, input.options, buffer_,
                                  {latest_.get_token(), abort_.get_token()}, loaders_, clock_);
    connect(loader, &ViewLoader::tilesDrawn, this, &ViewSession::tilesArrived);
    connect(loader, &QThread::finished, loader, &QObject::deleteLater);
    loader->start(); // its priority it sets itself
    return lastPass_;
}

void ViewSession::stopLatestLoader() {
    latest_.request_stop();
}

void ViewSession::stopAll() {
    stopLatestLoader();
    abort_.request_stop();
}

bool ViewSession::waitForLoaders(std::chrono::milliseconds timeout) const {
    return loaders_->waitForNone(std::chrono::steady_clock::now() + timeout);
}

} // namespace zelvano
