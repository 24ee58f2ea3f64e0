#include "ui/delay_dialog.h"

#include "ui/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <thread>

namespace zelvano {

DelayDialog::DelayDialog(const LanguageTable& language, std::shared_ptr<DialUp> dialUp, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint | Qt::CustomizeWindowHint),
      language_(language), dialUp_(std::move(dialUp)) {
    setObjectName(QStringLiteral("TForm2"));
    setModal(true);
    setMinimumSize(386, 226); // a fixed border: 386 × 226, or what the fonts need
    auto spin = [this](const char* name, const char* editName, int maximum) {
        auto* box = named(new QSpinBox(this), name);
        box->setRange(0, maximum);
        auto* edit = box->findChild<QLineEdit*>(); // typed values are not taken: only the arrows count
        edit->setObjectName(QLatin1String(editName));
        edit->setReadOnly(true);
        box->setFixedWidth(52);
        return box;
    };
    hours_ = spin("UpDown1", "Edit1", 100);
    minutes_ = spin("UpDown2", "Edit2", 60);
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(3);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(named(new QLabel(this), "Label1"));
    delayRow->addWidget(hours_);
    delayRow->addWidget(named(new QLabel(this), "Label2"));
    delayRow->addWidget(minutes_);
    delayRow->addWidget(named(new QLabel(this), "Label3"));
    delayRow->addStretch();
    grid->addLayout(delayRow, 0, 0, 1, 2);
    autoConnect_ = named(new QCheckBox(this), "CheckBox3");
    grid->addWidget(autoConnect_, 1, 0, 1, 2);
    grid->addWidget(named(new QLabel(this), "Label4"), 2, 0);
    entries_ = named(new QComboBox(this), "Cs");
    entries_->setEditable(true);
    grid->addWidget(entries_, 2, 1);
    grid->addWidget(named(new QLabel(this), "Label5"), 3, 0);
    user_ = named(new QLineEdit(this), "Edit7");
    user_->setMaxLength(30);
    grid->addWidget(user_, 3, 1);
    grid->addWidget(named(new QLabel(this), "Label6"), 4, 0);
    password_ = named(new QLineEdit(this), "Edit10");
    password_->setEchoMode(QLineEdit::Password);
    grid->addWidget(password_, 4, 1);
    hangUp_ = named(new QCheckBox(this), "CheckBox1");
    grid->addWidget(hangUp_, 5, 0, 1, 2);
    testGroup_ = named(new QGroupBox(this), "GroupBox1");
    auto* testRow = new QHBoxLayout(testGroup_);
    testRow->setContentsMargins(6, 2, 6, 2);
    dialButton_ = named(new QPushButton(testGroup_), "Button3");
    hangUpButton_ = named(new QPushButton(testGroup_), "Button4");
    testRow->addWidget(dialButton_);
    testRow->addWidget(hangUpButton_);
    grid->addWidget(testGroup_, 6, 0);
    auto* buttons = new QHBoxLayout;
    okButton_ = named(new QPushButton(QStringLiteral("Ok"), this), "Button1");
    okButton_->setDefault(true);
    cancelButton_ = named(new QPushButton(this), "Button2");
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    grid->addLayout(buttons, 6, 1, Qt::AlignBottom);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(dialButton_, &QPushButton::clicked, this, &DelayDialog::Button3Click);
    connect(hangUpButton_, &QPushButton::clicked, this, &DelayDialog::Button4Click);
    applyLanguage(language);
}

void DelayDialog::applyLanguage(const LanguageTable& t) {
    setWindowTitle(t.languageText(73));
    findChild<QLabel*>(QStringLiteral("Label1"))->setText(t.languageText(74));
    findChild<QLabel*>(QStringLiteral("Label2"))->setText(t.languageText(75));
    findChild<QLabel*>(QStringLiteral("Label3"))->setText(t.languageText(76));
    autoConnect_->setText(t.languageText(77));
    findChild<QLabel*>(QStringLiteral("Label4"))->setText(t.languageText(78));
    findChild<QLabel*>(QStringLiteral("Label5"))->setText(t.languageText(79));
    findChild<QLabel*>(QStringLiteral("Label6"))->setText(t.languageText(80));
    hangUp_->setText(t.languageText(81));
    testGroup_->setTitle(t.languageText(82));
    dialButton_->setText(t.languageText(83));
    hangUpButton_->setText(t.languageText(84));
    cancelButton_->setText(t.languageText(85));
}

void DelayDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void DelayDialog::FormShow() {
    for (QWidget* w : findChildren<QWidget*>())
        w->setEnabled(true);
    hours_->setValue(0);
    minutes_->setValue(0);
    entries_->clear();
    const QStringList names = dialUp_ ? dialUp_->entryNames() : QStringList();
    hasEntries_ = !names.isEmpty();
    entries_->addItems(names);
    if (hasEntries_)
        entries_->setCurrentIndex(0);
    else
        entries_->setEditText(language_.languageText(86));
}

DelayChoice DelayDialog::choice(bool confirmed) const {
    DelayChoice c;
    c.hours = hours_->value();
    c.minutes = minutes_->value();
    if (!confirmed) return c;
    c.autoConnect = autoConnect_->isChecked();
    c.hangUpAfter = hangUp_->isChecked();
    c.connectionName = entries_->currentText();
    c.userName = user_->text();
    c.password = password_->text();
    return c;
}

void DelayDialog::runAside(const std::function<void()>& work) {
    setEnabled(false);
    QEventLoop loop;
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    setEnabled(true);
}

void DelayDialog::Button3Click() {
    if (!hasEntries_ || entries_->currentIndex() < 0 || !dialUp_) return;
    DialResult result;
    const QString entry = entries_->currentText(), user = user_->text(), password = password_->text();
    runAside([&] { result = dialUp_->dial(entry, user, password); });
    if (!result.ok() && !result.errorText.isEmpty()) showDialError(this, language_, result.errorText);
}

void DelayDialog::Button4Click() {
    if (dialUp_) runAside([this] { hangUpAll(*dialUp_); });
}

void DelayDialog::showDialError(QWidget* parent, const LanguageTable& language, const QString& text) {
    QMessageBox box(QMessageBox::Critical, language.languageText(38), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("DialErrorBox"));
    box.exec();
}

} // namespace zelvano
