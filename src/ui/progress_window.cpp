#include "ui/progress_window.h"

#include "ui/named.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zelvano {

ProgressWindow::ProgressWindow(const LanguageTable& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      language_(language) {
    setObjectName(QStringLiteral("TForm3"));
    bar_ = named(new QProgressBar(this), "ProgressBar1");
    bar_->setFixedSize(329, 25);
    bar_->setTextVisible(false);
    total_ = named(new QLabel(this), "Label1");
    done_ = named(new QLabel(this), "Label2");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(total_);
    layout->addWidget(done_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::start(int total, Texts texts) {
    texts_ = texts;
    setWindowTitle(language_.languageText(87));
    bar_->setRange(0, std::max(total, 0));
    bar_->setValue(0);
    total_->setText(language_.languageText(texts_.total) + u' ' + QString::number(total));
    done_->setText(language_.languageText(texts_.noneDone));
    adjustSize();
    if (const QWidget* owner = parentWidget()) move(owner->geometry().center() - rect().center());
    show();
}

void ProgressWindow::step() {
    if (bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
    done_->setText(language_.languageText(texts_.done) + u' ' + QString::number(bar_->value()));
}

} // namespace zelvano
