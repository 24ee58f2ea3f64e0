// The main window's side of the view: refreshing, starting and stopping view loaders, resizing.
#include "ui/main_window.h"

#include "ui/map_view.h"
#include "ui/tool_icons.h"

#include <QApplication>
#include <QFrame>
#include <QMessageBox>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

namespace zelvano {

void MainWindow::RefreshView() {
    if (selectionPresent_) placeSelection();
    SetInputEnabled(false);
    stopLatestLoader();
    if (activated_ && !closing_) {
        if (settings_.singleFolderCache && settings_.viewMap) {
            QMessageBox::warning(this, language_->languageText(168), language_->languageText(34));
            settings_.viewMap = false;
            settings_.viewSatellite = true;
            UpdateLayerButton();
        }
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        shared_->overlayCutoff = kOverlayCutoffReset;
        const auto fetchSettings = std::make_shared<const FetchSettings>(fetchSettingsFrom(settings_, programFolder_));
        FetchContext context;
        context.settings = fetchSettings;
        context.language = language_.get();
        context.meter = &shared_->meter;
        context.overlayCutoff = &shared_->overlayCutoff;
        DrawPassInput input;
        input.centre = viewCentre();
        input.size = paintBox_->size();
        input.options = viewOptions();
        input.internetOnly = input.options.internetOnly;
        input.buttonFace = palette().button().color();
        input.showProgress = [this] { paintBox_->repaint(); };
        buffer_->resize(input.size);
        lastPass_ = DrawView(input, context, *buffer_);
        ++passes_;
        paintBox_->update();
        if (!lastPass_.queue.empty()) {
            startLoader(lastPass_.queue, input.options, fetchSettings);
        } else {
            latestStop_.reset();
        }
        QGuiApplication::restoreOverrideCursor();
        updateCursor();
    }
    SetInputEnabled(true);
}

void MainWindow::SetInputEnabled(bool enabled) {
    inputReady_ = enabled;
    QWidget* parts[] = {panel1_,          searchPanels_[0], searchPanels_[1], searchPanels_[3],
                        searchPanels_[2], slider_,          toolBar_};
    if (!enabled) {
        for (QWidget* w : parts)
            w->setEnabled(false);
    } else {
        for (auto it = std::rbegin(parts); it != std::rend(parts); ++it)
            (*it)->setEnabled(true);
    }
}

void MainWindow::UpdateLayerButton() {
    int image = kImageMapAndSatellite;
    int entry = 70;
    if (settings_.viewSatellite && !settings_.viewMap) {
        image = kImageSatellite;
        entry = 71;
    } else if (settings_.viewMap && !settings_.viewSatellite) {
        image = kImageMap;
        entry = 72;
    }
    layerButton_->setIcon(toolIcon(image));
    layerButton_->setProperty("imageIndex", image);
    layerButton_->setToolTip(language_->languageText(entry));
}

FetchOptions MainWindow::viewOptions() const {
    FetchOptions o;
    o.secondary = settings_.useSecondaryService;
    o.mapLayer = settings_.viewMap;
    o.satLayer = settings_.viewSatellite;
    o.deferNetwork = true;
    // The fetch-missing button fetches what is missing whatever the work mode.
    o.cacheOnly = !fetchMissing_ && settings_.workMode == WorkMode::CacheOnly;
    o.internetOnly = !fetchMissing_ && settings_.workMode == WorkMode::InternetOnly;
    return o;
}

void MainWindow::startLoader(std::vector<jtype> queue, FetchOptions options,
                             std::shared_ptr<const FetchSettings> fetchSettings) {
    latestStop_ = std::make_shared<std::atomic<bool>>(false);
    auto* loader = new ViewLoader(std::move(queue), std::move(fetchSettings), shared_, options, buffer_, latestStop_,
                                  [view = QPointer<MapView>(paintBox_)] {
                                      QMetaObject::invokeMethod(
                                          qApp,
                                          [view] {
                                              if (view) view->update();
                                          },
                                          Qt::QueuedConnection);
                                  });
    connect(loader, &QThread::finished, this, [this, loader] {
        loaders_.removeAll(loader);
        loader->deleteLater();
    });
    loaders_.append(loader);
    ++shared_->loaderCount;
    loader->start(QThread::IdlePriority);
}

void MainWindow::stopLatestLoader() {
    if (shared_->loaderCount.load() > 0 && latestStop_) *latestStop_ = true;
}

void MainWindow::Panel1Resize() {
    const QSize size = paintBox_->size();
    const QSize current = buffer_->size();
    if (current.width() >= size.width() && current.height() >= size.height()) {
        paintBox_->update();
        buffer_->cropCentred(size); // what the box shows now; no redraw
    } else {
        buffer_->resize(size);
        RefreshView();
    }
}

} // namespace zelvano
