// The settings dialog's filling, taking back and control handlers (the tabs are built in
// settings_dialog.cpp).
#include "ui/settings_dialog.h"

#include "config/cache_list.h"
#include "config/program_folder.h"
#include "tiles/cache_conversion.h"
#include "tiles/tile_paths.h"
#include "ui/progress_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QUrl>

namespace zelvano {

// --- filling and taking ---

void SettingsDialog::fill(const Settings& s, const ExtraSettings& extra) {
    internetOnly_->setChecked(s.workMode == WorkMode::InternetOnly);
    cacheAndInternet_->setChecked(s.workMode == WorkMode::CacheAndInternet);
    cacheOnly_->setChecked(s.workMode == WorkMode::CacheOnly);
    useProxy_->setChecked(s.useProxy);
    CheckBox2Click();
    proxyHost_->setText(s.proxyHost);
    proxyPort_->setText(s.proxyPort);
    proxyUser_->setText(s.proxyUser);
    proxyPassword_->setText(s.proxyPassword);
    showTimer_->setChecked(s.showTimerDialog);
    satTemplate_->setText(s.primarySatelliteTemplate);
    hybridTemplate_->setText(s.primaryHybridTemplate);
    mapTemplate_->setText(s.primaryMapTemplate);
    useCacheFolder_->setChecked(s.useCacheFolder);
    aerialTemplate_->setText(s.secondaryAerialTemplate);
    secHybridTemplate_->setText(s.secondaryHybridTemplate);
    roadTemplate_->setText(s.secondaryRoadTemplate);
    secondaryMirrors_->setChecked(s.secondaryMirrors);
    cacheFolder_->setText(s.cacheFolder);
    (s.useSecondaryService ? secondaryService_ : primaryService_)->setChecked(true);
    if (s.useSecondaryService) RadioButton10Click();
    errorControl_->setChecked(s.errorControl);
    CheckBox3Click();
    const int values[5] = {s.retryCount, s.retryInterval, s.writeErrorLimit, s.fetchErrorLimit, s.badFileErrorLimit};
    for (int i = 0; i < 5; ++i)
        counters_[i]->setValue(values[i]);
    autoGenerate_->setChecked(s.autoGenerate);
    autoReplace_->setChecked(s.autoGenerateReplace);
    showLog_->setChecked(s.showLogAuto);
    calibOzi_->setChecked(s.calibOzi);
    calibMapInfo_->setChecked(s.calibMapInfo);
    calibArcGis_->setChecked(s.calibArcGis);
    calibSeeYou_->setChecked(s.calibSeeYou);
    wheelMouse_->setChecked(s.mouseMode == MouseMode::Wheel);
    clickMouse_->setChecked(s.mouseMode != MouseMode::Wheel);
    autoQuality_->setCurrentIndex(s.autoGenerateQuality / 10 - 1); // below 10: no item
    CheckBox4Click();
    primaryMirrors_->setChecked(s.primaryMirrors);
    singleFolder_->setChecked(s.singleFolderCache);
    mapOnly_->setChecked(s.viewMap);
    satelliteOnly_->setChecked(s.viewSatellite);
    if (s.viewMap && s.viewSatellite) bothLayers_->setChecked(true);
    languageFile_ = s.languageFile;
    fillLanguages();
    const QStringList caches = loadCacheList(folder_);
    if (!caches.isEmpty() || extraList_->count() == 0) {
        extraList_->clear();
        extraList_->addItems(caches);
    }
    extraCaches_->setChecked(s.useExtraCaches);
    CheckBox7Click();
    ListBox1Click();
    connections_->setValue(extra.downloadConnections);
}

void SettingsDialog::take(Settings& s, ExtraSettings& extra) const {
    s.workMode = internetOnly_->isChecked() ? WorkMode::InternetOnly
                 : cacheOnly_->isChecked()  ? WorkMode::CacheOnly
                                            : WorkMode::CacheAndInternet;
    if (bothLayers_->isChecked()) {
        s.viewSatellite = s.viewMap = true;
    } else {
        s.viewSatellite = satelliteOnly_->isChecked();
        s.viewMap = mapOnly_->isChecked();
    }
    s.useProxy = useProxy_->isChecked();
    s.proxyHost = proxyHost_->text();
    s.proxyPort = proxyPort_->text();
    s.proxyUser = proxyUser_->text();
    s.proxyPassword = proxyPassword_->text();
    s.showTimerDialog = showTimer_->isChecked();
    s.primarySatelliteTemplate = satTemplate_->text();
    s.primaryHybridTemplate = hybridTemplate_->text();
    s.primaryMapTemplate = mapTemplate_->text();
    s.primaryMirrors = primaryMirrors_->isChecked();
    s.secondaryAerialTemplate = aerialTemplate_->text();
    s.secondaryHybridTemplate = secHybridTemplate_->text();
    s.secondaryRoadTemplate = roadTemplate_->text();
    s.secondaryMirrors = secondaryMirrors_->isChecked();
    s.useSecondaryService = secondaryService_->isChecked();
    s.singleFolderCache = singleFolder_->isChecked();
    s.useCacheFolder = useCacheFolder_->isChecked();
    s.cacheFolder = cacheFolder_->text();
    s.errorControl = errorControl_->isChecked();
    int* values[5] = {&s.retryCount, &s.retryInterval, &s.writeErrorLimit, &s.fetchErrorLimit, &s.badFileErrorLimit};
    for (int i = 0; i < 5; ++i)
        *values[i] = counters_[i]->value();
    s.autoGenerate = autoGenerate_->isChecked();
    s.autoGenerateReplace = autoReplace_->isChecked();
    s.useExtraCaches = extraCaches_->isChecked();
    s.showLogAuto = showLog_->isChecked();
    s.calibOzi = calibOzi_->isChecked();
    s.calibMapInfo = calibMapInfo_->isChecked();
    s.calibArcGis = calibArcGis_->isChecked();
    s.calibSeeYou = calibSeeYou_->isChecked();
    s.mouseMode = wheelMouse_->isChecked() ? MouseMode::Wheel : MouseMode::Click;
    s.autoGenerateQuality = (autoQuality_->currentIndex() + 1) * 10;
    extra.downloadConnections = connections_->value();
}

// --- handlers ---

void SettingsDialog::CheckBox2Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{proxyHost_, proxyPort_, proxyUser_, proxyPassword_})
        w->setEnabled(useProxy_->isChecked());
    for (const char* name : {"Label16", "Label17", "Label18"})
        findChild<QLabel*>(QLatin1StringView(name))->setEnabled(useProxy_->isChecked());
}

void SettingsDialog::CheckBox3Click() {
    for (int i = 0; i < 5; ++i) {
        counters_[i]->setEnabled(errorControl_->isChecked());
        counterLabels_[i]->setEnabled(errorControl_->isChecked());
    }
}

void SettingsDialog::CheckBox4Click() {
    cacheFolder_->setVisible(useCacheFolder_->isChecked());
    browseCache_->setVisible(useCacheFolder_->isChecked());
}

void SettingsDialog::CheckBox7Click() {
    for (QWidget* w : std::initializer_list<QWidget*>{extraList_, addExtra_, removeExtra_})
        w->setVisible(extraCaches_->isChecked());
}

void SettingsDialog::ButtonSClick() {
    satTemplate_->setText(QString::fromUtf16(kDefaultSatelliteTemplate));
    hybridTemplate_->setText(QString::fromUtf16(kDefaultHybridTemplate));
    mapTemplate_->setText(QString::fromUtf16(kDefaultMapTemplate));
}

void SettingsDialog::Button5Click() {
    aerialTemplate_->setText(QString::fromUtf16(kDefaultAerialTemplate));
    secHybridTemplate_->setText(QString::fromUtf16(kDefaultSecondaryHybridTemplate));
    roadTemplate_->setText(QString::fromUtf16(kDefaultRoadTemplate));
}

QString SettingsDialog::cacheRoot() const {
    Settings s;
    s.useCacheFolder = useCacheFolder_->isChecked();
    s.cacheFolder = cacheFolder_->text();
    return zelvano::cacheRoot(s, folder_);
}

void SettingsDialog::RadioButton10Click() {
    createLevelFolders(cacheRoot() + QStringLiteral("virtualearth/"), {"vea/", "veh/", "ver/"});
}

void SettingsDialog::Button2Click() {
    const QString chosen = QFileDialog::getExistingDirectory(this);
    if (chosen.isEmpty()) return;
    extraList_->addItem(chosen);
    saveExtraList();
}

void SettingsDialog::Button3Click() {
    delete extraList_->takeItem(extraList_->currentRow());
    saveExtraList();
}

// CacheList.dat written whole from the list, at once.
void SettingsDialog::saveExtraList() {
    QStringList folders;
    for (int i = 0; i < extraList_->count(); ++i)
        folders << extraList_->item(i)->text();
    saveCacheList(folder_, folders);
    ListBox1Click();
}

void SettingsDialog::ListBox1Click() {
    const QListWidgetItem* item = extraList_->currentItem();
    const bool selected = item && item->isSelected();
    removeExtra_->setEnabled(selected);
    extraList_->setToolTip(selected ? item->text() : QString());
}

void SettingsDialog::fillLanguages() {
    languages_->clear();
    const QStringList files =
        QDir(languageFolderPath(folder_)).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    languages_->addItems(files);
    const auto found = languages_->findItems(languageFile_, Qt::MatchFixedString);
    if (!found.isEmpty()) languages_->setCurrentItem(found.first());
    languageLabel_->setText(languageFile_);
}

void SettingsDialog::ListBox2Click() {
    const QListWidgetItem* item = languages_->currentItem();
    if (!item) return;
    QString file = item->text();
    language_->loadLanguage(folder_, file); // every window relabels at once
    languageFile_ = file;
    languageLabel_->setText(file);
    if (languageChosen_) languageChosen_(file);
}

void SettingsDialog::Button1Click() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder_ + u'/' + language_->languageText(205)));
}

void SettingsDialog::Button4Click() {
    const LanguageTable& t = *language_;
    const QString root = cacheRoot();
    setEnabled(false);
    createLayerFolders(root);
    if (!progress_) progress_ = new ProgressWindow(*language_, this);
    const int count = static_cast<int>(conversionSources(root).size());
    progress_->start(count, ProgressWindow::Texts{162, 163, 161});
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, t.languageText(168), conversionQuestion(t, count),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    if (answer == QMessageBox::Ok) {
        convertCache(root, [this](int) {
            progress_->step();
            QCoreApplication::processEvents();
        });
        singleFolder_->setChecked(false);
        bothLayers_->setChecked(true);
    }
    progress_->hide();
    setEnabled(true);
    if (answer == QMessageBox::Ok) {
        showNormal();
        raise();
    }
}

} // namespace zelvano
