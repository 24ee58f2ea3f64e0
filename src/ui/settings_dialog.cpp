#include "ui/settings_dialog.h"

#include "ui/dialog_buttons.h"
#include "ui/named.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zelvano {

namespace {

constexpr char16_t kPrimaryName[] = u"orbexa.com";
constexpr char16_t kSecondaryName[] = u"orbexa.net";

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
    caption(buttons.cancel, 85);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons.row);
    setFixedSize(798, 433);
    relabel_ = language_->subscribe([this] { applyLanguage(); });
    applyLanguage();
}

void SettingsDialog::caption(QWidget* widget, int entry) {
    captions_.push_back([this, widget, entry] {
        const QString text = language_->languageText(entry);
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
    });
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
    caption(mode, 113);
    caption(internetOnly_, 17);
    caption(cacheAndInternet_, 18);
    caption(cacheOnly_, 16);
    caption(satelliteOnly_, 71);
    caption(bothLayers_, 70);
    caption(mapOnly_, 72);
    caption(note, 114);
    caption(useProxy_, 115);
    caption(portLabel, 118);
    caption(userLabel, 116);
    caption(passwordLabel, 117);
    caption(warning, 119);
    for (QWidget* w : std::initializer_list<QWidget*>{mode, layers, note, proxy})
        layout->addWidget(w);
    layout->addStretch();
    return page;
}

void SettingsDialog::templateEdits(QVBoxLayout* box, const std::array<TemplateEdit, 3>& edits) {
    for (int n = 0; n < 3; ++n) {
        const TemplateEdit& e = edits[static_cast<std::size_t>(n)];
        auto* label = named(new QLabel, e.labelName);
        *e.edit = named(new QLineEdit, e.editName);
        box->addWidget(label);
        box->addWidget(*e.edit);
        caption(label, 121 + n); // the satellite, hybrid and map requests
    }
}

QWidget* SettingsDialog::primaryTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox4");
    auto* box = new QVBoxLayout(group);
    templateEdits(box, {{{&satTemplate_, "Edit11", "Label21"},
                         {&hybridTemplate_, "Edit3", "Label30"},
                         {&mapTemplate_, "Edit4", "Label31"}}});
    auto* restore = named(new QPushButton, "ButtonS");
    primaryMirrors_ = named(new QCheckBox, "CheckBox11");
    box->addWidget(restore, 0, Qt::AlignLeft);
    box->addWidget(primaryMirrors_);
    QLabel* help[3] = {named(wrapped(new QLabel), "Label3"), named(wrapped(new QLabel), "Label4"),
                       named(wrapped(new QLabel), "Label5")};
    for (QLabel* h : help)
        box->addWidget(h);
    connect(restore, &QPushButton::clicked, this, &SettingsDialog::ButtonSClick);
    caption(group, 120);
    caption(restore, 128);
    caption(primaryMirrors_, 124);
    for (int n = 0; n < 3; ++n)
        caption(help[n], 125 + n);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::secondaryTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = named(new QGroupBox, "GroupBox12");
    auto* box = new QVBoxLayout(group);
    templateEdits(box, {{{&aerialTemplate_, "Edit10", "Label37"},
                         {&secHybridTemplate_, "Edit20", "Label38"},
                         {&roadTemplate_, "Edit22", "Label39"}}});
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
    caption(group, 106);
    caption(source, 106);
    caption(restore, 128);

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
    caption(place, 129);
    caption(useCacheFolder_, 130);
    caption(singleFolder_, 131);
    caption(convert, 132);
    caption(where, 133);
    caption(generation, 134);
    caption(autoGenerate_, 135);
    caption(autoReplace_, 136);
    caption(qualityLabel, 137);
    caption(genHelp, 138);
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
    caption(group, 139);
    caption(errorControl_, 140);
    caption(showLog_, 146);
    caption(help, 147);
    for (int i = 0; i < 5; ++i)
        caption(counterLabels_[i], counters[i].entry);
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
    caption(group, 148);
    caption(showTimer_, 149);
    caption(help, 150);
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
    caption(group, 151);
    caption(calibOzi_, 152);
    caption(calibMapInfo_, 153);
    caption(calibArcGis_, 154);
    caption(help, 155);
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
    caption(group, 157);
    caption(clickMouse_, 158);
    caption(wheelMouse_, 159);
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
    caption(title, 204);
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
    caption(about, 160);
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

} // namespace zelvano
