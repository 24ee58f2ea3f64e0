#include "ui/settings_dialog.h"

#include "config/cache_list.h"
#include "config/program_folder.h"
#include "tiles/cache_conversion.h"
#include "ui/dialog_buttons.h"
#include "ui/named.h"
#include "ui/progress_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace zelvano {

namespace {

constexpr char16_t kPrimaryName[] = u"orbexa.com";
constexpr char16_t kSecondaryName[] = u"orbexa.net";

QString levelFolder(int level) {
    return QStringLiteral("%1").arg(level, 2, 10, QChar(u'0'));
}

QLabel* wrapped(QLabel* label) {
    label->setWordWrap(true);
    return label;
}

} // namespace

SettingsDialog::SettingsDialog(std::shared_ptr<LanguageTable> language, QString programFolder, QWidget* parent)
    : QDialog(parent), language_(std::move(language)), folder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("TForm5"));
    tabs_ = named(new QTabWidget(this), "PageControl1");
    const std::pair<QWidget*, int> pages[] = {
        {internetTab(), 105}, {primaryTab(), -1}, {secondaryTab(), -2},  {cacheTab(), 107},
        {errorsTab(), 108},   {timerTab(), 109},  {stitchingTab(), 110}, {controlTab(), 111},
        {languageTab(), -3},  {aboutTab(), 112},  {extraTab(), -4},
    };
    for (const auto& [page, entry] : pages) {
        const int index = tabs_->addTab(page, QString());
        captions_.push_back([this, index, entry] {
            tabs_->setTabText(index, entry >= 0    ? language_->languageText(entry)
                                     : entry == -1 ? QString::fromUtf16(kPrimaryName)
                                     : entry == -2 ? QString::fromUtf16(kSecondaryName)
                                     : entry == -3 ? QStringLiteral("Language")
                                                   : QStringLiteral("Дополнительно"));
        });
    }
    tabs_->setCurrentIndex(2); // the secondary service's tab, the first time
    const DialogButtons buttons = okCancelButtons(this, QStringLiteral("OK"), "OKBtn", "CancelBtn");
    QPushButton* cancel = buttons.cancel;
    captions_.push_back([this, cancel] { cancel->setText(language_->languageText(85)); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons.row);
    setFixedSize(798, 433);
    relabel_ = language_->subscribe([this] { applyLanguage(); });
    applyLanguage();
}

void SettingsDialog::applyLanguage() {
    setWindowTitle(language_->languageText(104));
    for (const auto& caption : captions_)
        caption();
}

// --- the tabs ---

QWidget* SettingsDialog::internetTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* mode = named(new QGroupBox, "GroupBox1");
    auto* modeRow = new QHBoxLayout(mode);
    internetOnly_ = named(new QRadioButton, "RadioButton2");
    cacheAndInternet_ = named(new QRadioButton, "RadioButton3");
    cacheOnly_ = named(new QRadioButton, "RadioButton1");
    for (QRadioButton* b : {internetOnly_, cacheAndInternet_, cacheOnly_})
        modeRow->addWidget(b);
    auto* layers = named(new QGroupBox, "GroupBox10");
    auto* layerRow = new QHBoxLayout(layers);
    satelliteOnly_ = named(new QRadioButton, "RadioButton7");
    bothLayers_ = named(new QRadioButton, "RadioButton8");
    mapOnly_ = named(new QRadioButton, "RadioButton6");
    for (QRadioButton* b : {satelliteOnly_, bothLayers_, mapOnly_})
        layerRow->addWidget(b);
    auto* note = named(new QLabel, "Label1");
    auto* proxy = named(new QGroupBox(QStringLiteral("Proxy")), "GroupBox2");
    auto* form = new QFormLayout(proxy);
    useProxy_ = named(new QCheckBox, "CheckBox2");
    proxyHost_ = named(new QLineEdit, "Edit5");
    proxyPort_ = named(new QLineEdit, "Edit6");
    proxyUser_ = named(new QLineEdit, "Edit8");
    proxyPassword_ = named(new QLineEdit, "Edit9");
    proxyPassword_->setEchoMode(QLineEdit::Password);
    auto* portLabel = named(new QLabel, "Label16");
    auto* userLabel = named(new QLabel, "Label17");
    auto* passwordLabel = named(new QLabel, "Label18");
    form->addRow(useProxy_);
    auto* hostRow = new QHBoxLayout;
    hostRow->addWidget(proxyHost_, 3);
    hostRow->addWidget(portLabel);
    hostRow->addWidget(proxyPort_, 1);
    form->addRow(hostRow);
    form->addRow(userLabel, proxyUser_);
    form->addRow(passwordLabel, proxyPassword_);
    auto* warning = named(wrapped(new QLabel), "Label2");
    form->addRow(warning);
    connect(useProxy_, &QCheckBox::toggled, this, &SettingsDialog::CheckBox2Click);
    captions_.push_back([=, this] {
        const LanguageTable& t = *language_;
        mode->setTitle(t.languageText(113));
        internetOnly_->setText(t.languageText(17));
        cacheAndInternet_->setText(t.languageText(18));
        cacheOnly_->setText(t.languageText(16));
        satelliteOnly_->setText(t.languageText(71));
        bothLayers_->setText(t.languageText(70));
        mapOnly_->setText(t.languageText(72));
        note->setText(t.languageText(114));
        useProxy_->setText(t.languageText(115));
        portLabel->setText(t.languageText(118));
        userLabel->setText(t.languageText(116));
        passwordLabel->setText(t.languageText(117));
        warning->setText(t.languageText(119));
    });
    for (QWidget* w : std::initializer_list<QWidget*>{mode, layers, note, proxy})
        layout->addWidget(w);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::primaryTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox4");
    auto* box = new QVBoxLayout(group);
    const std::pair<QLineEdit**, std::pair<const char*, const char*>> edits[] = {
        {&satTemplate_, {"Edit11", "Label21"}},
        {&hybridTemplate_, {"Edit3", "Label30"}},
        {&mapTemplate_, {"Edit4", "Label31"}}};
    QLabel* labels[3];
    int i = 0;
    for (const auto& [edit, names] : edits) {
        labels[i] = named(new QLabel, names.second);
        *edit = named(new QLineEdit, names.first);
        box->addWidget(labels[i++]);
        box->addWidget(*edit);
    }
    auto* restore = named(new QPushButton, "ButtonS");
    primaryMirrors_ = named(new QCheckBox, "CheckBox11");
    box->addWidget(restore, 0, Qt::AlignLeft);
    box->addWidget(primaryMirrors_);
    QLabel* help[3] = {named(wrapped(new QLabel), "Label3"), named(wrapped(new QLabel), "Label4"),
                       named(wrapped(new QLabel), "Label5")};
    for (QLabel* h : help)
        box->addWidget(h);
    connect(restore, &QPushButton::clicked, this, &SettingsDialog::ButtonSClick);
    captions_.push_back([=, this] {
        const LanguageTable& t = *language_;
        group->setTitle(t.languageText(120));
        for (int n = 0; n < 3; ++n) {
            labels[n]->setText(t.languageText(121 + n));
            help[n]->setText(t.languageText(125 + n));
        }
        restore->setText(t.languageText(128));
        primaryMirrors_->setText(t.languageText(124));
    });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::secondaryTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox12");
    auto* box = new QVBoxLayout(group);
    const std::pair<QLineEdit**, std::pair<const char*, const char*>> edits[] = {
        {&aerialTemplate_, {"Edit10", "Label37"}},
        {&secHybridTemplate_, {"Edit20", "Label38"}},
        {&roadTemplate_, {"Edit22", "Label39"}}};
    QLabel* labels[3];
    int i = 0;
    for (const auto& [edit, names] : edits) {
        labels[i] = named(new QLabel, names.second);
        *edit = named(new QLineEdit, names.first);
        box->addWidget(labels[i++]);
        box->addWidget(*edit);
    }
    auto* restore = named(new QPushButton, "Button5");
    secondaryMirrors_ =
        named(new QCheckBox(QStringLiteral("Использовать зеркала (a0..., a1... и т.д.)")), "CheckBox15");
    box->addWidget(restore, 0, Qt::AlignLeft);
    box->addWidget(secondaryMirrors_);
    auto* source = named(new QGroupBox, "GroupBox13");
    auto* sourceRow = new QHBoxLayout(source);
    primaryService_ = named(new QRadioButton(QString::fromUtf16(kPrimaryName)), "RadioButton9");
    secondaryService_ = named(new QRadioButton(QString::fromUtf16(kSecondaryName)), "RadioButton10");
    sourceRow->addWidget(primaryService_);
    sourceRow->addWidget(secondaryService_);
    auto* beta = named(new QLabel(QStringLiteral("The cache is used the same (beta-version)")), "Label41");
    connect(restore, &QPushButton::clicked, this, &SettingsDialog::Button5Click);
    connect(secondaryService_, &QRadioButton::clicked, this, &SettingsDialog::RadioButton10Click);
    captions_.push_back([=, this] {
        const LanguageTable& t = *language_;
        group->setTitle(t.languageText(106));
        source->setTitle(t.languageText(106));
        for (int n = 0; n < 3; ++n)
            labels[n]->setText(t.languageText(121 + n));
        restore->setText(t.languageText(128));
    });
    for (QWidget* w : std::initializer_list<QWidget*>{group, source, beta})
        layout->addWidget(w);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::cacheTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* place = named(new QGroupBox, "GroupBox6");
    auto* box = new QVBoxLayout(place);
    useCacheFolder_ = named(new QCheckBox, "CheckBox4");
    cacheFolder_ = named(new QLineEdit, "Edit16");
    browseCache_ = new QPushButton(QStringLiteral("..."));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(useCacheFolder_);
    folderRow->addWidget(cacheFolder_, 1);
    folderRow->addWidget(browseCache_);
    box->addLayout(folderRow);
    singleFolder_ = named(new QCheckBox, "CheckBox12");
    auto* convert = named(new QPushButton, "Button4");
    auto* convertRow = new QHBoxLayout;
    convertRow->addWidget(singleFolder_);
    convertRow->addWidget(convert);
    box->addLayout(convertRow);
    auto* where = named(wrapped(new QLabel), "Label6");
    box->addWidget(where);
    // The additional caches stay visible: a hidden control helps nobody.
    auto* extra = named(new QWidget, "Panel1");
    auto* extraRow = new QHBoxLayout(extra);
    extraRow->setContentsMargins(0, 0, 0, 0);
    extraCaches_ = named(new QCheckBox(QStringLiteral("Дополнительный кэш (только чтение)")), "CheckBox7");
    extraList_ = named(new QListWidget, "ListBox1");
    extraList_->setMaximumHeight(60);
    addExtra_ = named(new QPushButton(QStringLiteral("Добавить")), "Button2");
    removeExtra_ = named(new QPushButton(QStringLiteral("Удалить")), "Button3");
    extraRow->addWidget(extraCaches_);
    extraRow->addWidget(extraList_, 1);
    auto* extraButtons = new QVBoxLayout;
    extraButtons->addWidget(addExtra_);
    extraButtons->addWidget(removeExtra_);
    extraRow->addLayout(extraButtons);
    box->addWidget(extra);
    auto* generation = named(new QGroupBox, "GroupBox7");
    auto* genBox = new QVBoxLayout(generation);
    autoGenerate_ = named(new QCheckBox, "CheckBox5");
    autoReplace_ = named(new QCheckBox, "CheckBox6");
    auto* qualityLabel = named(new QLabel, "Label29");
    autoQuality_ = named(new QComboBox, "ComboBox3");
    for (int q = 10; q <= 100; q += 10)
        autoQuality_->addItem(QStringLiteral("%1%").arg(q));
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(qualityLabel);
    qualityRow->addWidget(autoQuality_);
    qualityRow->addStretch();
    auto* genHelp = named(wrapped(new QLabel), "Label27");
    genBox->addWidget(autoGenerate_);
    genBox->addWidget(autoReplace_);
    genBox->addLayout(qualityRow);
    genBox->addWidget(genHelp);
    connect(useCacheFolder_, &QCheckBox::toggled, this, &SettingsDialog::CheckBox4Click);
    connect(extraCaches_, &QCheckBox::toggled, this, &SettingsDialog::CheckBox7Click);
    connect(addExtra_, &QPushButton::clicked, this, &SettingsDialog::Button2Click);
    connect(removeExtra_, &QPushButton::clicked, this, &SettingsDialog::Button3Click);
    connect(extraList_, &QListWidget::itemSelectionChanged, this, &SettingsDialog::ListBox1Click);
    connect(convert, &QPushButton::clicked, this, &SettingsDialog::Button4Click);
    connect(browseCache_, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, QString(), cacheFolder_->text());
        if (!chosen.isEmpty()) cacheFolder_->setText(chosen);
    });
    captions_.push_back([=, this] {
        const LanguageTable& t = *language_;
        place->setTitle(t.languageText(129));
        useCacheFolder_->setText(t.languageText(130));
        singleFolder_->setText(t.languageText(131));
        convert->setText(t.languageText(132));
        where->setText(t.languageText(133));
        generation->setTitle(t.languageText(134));
        autoGenerate_->setText(t.languageText(135));
        autoReplace_->setText(t.languageText(136));
        qualityLabel->setText(t.languageText(137));
        genHelp->setText(t.languageText(138));
    });
    layout->addWidget(place);
    layout->addWidget(generation);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::errorsTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox5");
    auto* form = new QFormLayout(group);
    errorControl_ = named(new QCheckBox, "CheckBox3");
    form->addRow(errorControl_);
    struct Counter {
        const char *edit, *label;
        int entry, low, high;
    };
    const Counter counters[5] = {{"Edit12", "Label22", 141, 1, 10},
                                 {"Edit21", "Label15", 144, 1, 60},
                                 {"Edit13", "Label25", 142, 1, 50},
                                 {"Edit14", "Label23", 143, 1, 100},
                                 {"Edit15", "Label24", 145, 1, 200}};
    for (int i = 0; i < 5; ++i) {
        counters_[i] = named(new QSpinBox, counters[i].edit);
        counters_[i]->setRange(counters[i].low, counters[i].high);
        // Read-only text: the value changes only through the arrows, inside the range.
        counters_[i]->findChild<QLineEdit*>()->setReadOnly(true);
        counterLabels_[i] = named(new QLabel, counters[i].label);
        form->addRow(counterLabels_[i], counters_[i]);
    }
    showLog_ = named(new QCheckBox, "CheckBox8");
    form->addRow(showLog_);
    auto* help = named(wrapped(new QLabel), "Label7");
    form->addRow(help);
    connect(errorControl_, &QCheckBox::toggled, this, &SettingsDialog::CheckBox3Click);
    std::array<int, 5> entries{};
    for (int i = 0; i < 5; ++i)
        entries[static_cast<std::size_t>(i)] = counters[i].entry;
    captions_.push_back([=, this] {
        const LanguageTable& t = *language_;
        group->setTitle(t.languageText(139));
        errorControl_->setText(t.languageText(140));
        for (int i = 0; i < 5; ++i)
            counterLabels_[i]->setText(t.languageText(entries[static_cast<std::size_t>(i)]));
        showLog_->setText(t.languageText(146));
        help->setText(t.languageText(147));
    });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::timerTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox3");
    auto* box = new QVBoxLayout(group);
    showTimer_ = named(new QCheckBox, "CheckBox1");
    auto* help = named(wrapped(new QLabel), "Label11");
    box->addWidget(showTimer_);
    box->addWidget(help);
    captions_.push_back([=, this] {
        group->setTitle(language_->languageText(148));
        showTimer_->setText(language_->languageText(149));
        help->setText(language_->languageText(150));
    });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::stitchingTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox8");
    auto* box = new QVBoxLayout(group);
    calibOzi_ = named(new QCheckBox, "CheckBox9");
    calibMapInfo_ = named(new QCheckBox, "CheckBox10");
    calibArcGis_ = named(new QCheckBox, "CheckBox13");
    calibSeeYou_ = named(new QCheckBox(QStringLiteral("Создавать файл привязки для SeeYou (*.MDS)")), "CheckBox14");
    auto* help = named(wrapped(new QLabel), "Label34");
    for (QWidget* w : std::initializer_list<QWidget*>{calibOzi_, calibMapInfo_, calibArcGis_, calibSeeYou_, help})
        box->addWidget(w);
    captions_.push_back([=, this] {
        const LanguageTable& t = *language_;
        group->setTitle(t.languageText(151));
        calibOzi_->setText(t.languageText(152));
        calibMapInfo_->setText(t.languageText(153));
        calibArcGis_->setText(t.languageText(154));
        help->setText(t.languageText(155));
    });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::controlTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox9");
    auto* box = new QVBoxLayout(group);
    clickMouse_ = named(new QRadioButton, "RadioButton4");
    wheelMouse_ = named(new QRadioButton, "RadioButton5");
    box->addWidget(clickMouse_);
    box->addWidget(wheelMouse_);
    captions_.push_back([=, this] {
        group->setTitle(language_->languageText(157));
        clickMouse_->setText(language_->languageText(158));
        wheelMouse_->setText(language_->languageText(159));
    });
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::languageTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* title = named(new QLabel, "Label32");
    auto* hint = named(new QLabel(QStringLiteral("Language / Язык:")), "Label35");
    languages_ = named(new QListWidget, "ListBox2");
    languageLabel_ = named(new QLabel, "Label33");
    for (QWidget* w : std::initializer_list<QWidget*>{title, hint, languages_, languageLabel_})
        layout->addWidget(w);
    connect(languages_, &QListWidget::itemClicked, this, &SettingsDialog::ListBox2Click);
    captions_.push_back([=, this] { title->setText(language_->languageText(204)); });
    return page;
}

QWidget* SettingsDialog::aboutTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* about = named(wrapped(new QLabel), "Label8");
    auto* readMe = named(new QPushButton(QStringLiteral("ReadMe Ver. 2.9")), "Button1");
    layout->addWidget(about);
    layout->addWidget(readMe, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(readMe, &QPushButton::clicked, this, &SettingsDialog::Button1Click);
    captions_.push_back([=, this] { about->setText(language_->languageText(160)); });
    return page;
}

QWidget* SettingsDialog::extraTab() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    connections_ = named(new QSpinBox, "SpinConnections");
    connections_->setRange(kMinDownloadConnections, kMaxDownloadConnections);
    form->addRow(QStringLiteral("Одновременных соединений у задания (1–8):"), connections_);
    return page;
}

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
    const QString root = cacheRoot() + QStringLiteral("virtualearth/");
    for (const char* layer : {"vea", "veh", "ver"})
        for (int level = 1; level <= 24; ++level)
            QDir().mkpath(root + QLatin1StringView(layer) + u'/' + levelFolder(level));
}

void SettingsDialog::Button2Click() {
    const QString chosen = QFileDialog::getExistingDirectory(this);
    if (chosen.isEmpty()) return;
    extraList_->addItem(chosen);
    QStringList folders;
    for (int i = 0; i < extraList_->count(); ++i)
        folders << extraList_->item(i)->text();
    saveCacheList(folder_, folders);
    ListBox1Click();
}

void SettingsDialog::Button3Click() {
    delete extraList_->takeItem(extraList_->currentRow());
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
