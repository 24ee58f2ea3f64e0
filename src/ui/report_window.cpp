#include "ui/report_window.h"

#include "ui/named.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zelvano {

ReportWindow::ReportWindow(const LanguageTable& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TForm6"));
    memo_ = named(new QPlainTextEdit(this), "Memo1");
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setFixedSize(392, 245);
    auto* ok = named(new QPushButton(QStringLiteral("Ok"), this), "Button1");
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addStretch();
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    applyLanguage(language);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void ReportWindow::applyLanguage(const LanguageTable& t) {
    setWindowTitle(t.languageText(170));
}

void ReportWindow::setLog(const QStringList& lines) {
    memo_->setPlainText(lines.join(u'\n'));
    memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

void ReportWindow::appendLine(const QString& line) {
    memo_->appendPlainText(line);
}

QStringList ReportWindow::lines() const {
    const QString text = memo_->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

} // namespace zelvano
