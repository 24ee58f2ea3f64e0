#include "ui/coordinate_dialog.h"

#include "ui/coordinate_edit.h"
#include "ui/dialog_buttons.h"
#include "ui/named.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelvano {

namespace {

constexpr char16_t kHint[] = u"При вводе вместо знаков препинания можно нажимать пробел. \n"
                             u"Также можно использовать клавиши N, S, W, E - даже не переключая язык.";

} // namespace

CoordinateDialog::CoordinateDialog(const LanguageTable& language, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TKoordDlg"));
    setModal(true);
    auto group = [this](QGroupBox*& box, const char* name, QComboBox*& hemisphere, const char* boxName,
                        QStringList items, CoordinateEdit*& edit, CoordinateAxis axis) {
        box = named(new QGroupBox(this), name);
        auto* row = new QHBoxLayout(box);
        hemisphere = named(new QComboBox(box), boxName);
        hemisphere->addItems(items);
        hemisphere->setFixedWidth(53);
        edit = named(new CoordinateEdit(axis, hemisphere, box), axis == CoordinateAxis::Latitude ? "Edit7" : "Edit10");
        edit->setMinimumWidth(121);
        edit->setToolTip(QString::fromUtf16(kHint));
        row->addWidget(hemisphere);
        row->addWidget(edit);
    };
    group(latitudeGroup_, "GroupBox1", latHemisphere_, "SCB", {QStringLiteral("N"), QStringLiteral("S")}, latitudeEdit_,
          CoordinateAxis::Latitude);
    group(longitudeGroup_, "GroupBox2", lonHemisphere_, "DCB", {QStringLiteral("W"), QStringLiteral("E")},
          longitudeEdit_, CoordinateAxis::Longitude);
    fields_ = new CoordinateFields(latitudeEdit_, longitudeEdit_, language, this);
    const DialogButtons dialogButtons = okCancelButtons(this, QStringLiteral("OK"), "OKBtn", "CancelBtn");
    okButton_ = dialogButtons.ok;
    cancelButton_ = dialogButtons.cancel;
    QHBoxLayout* buttons = dialogButtons.row;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(latitudeGroup_);
    layout->addWidget(longitudeGroup_);
    layout->addLayout(buttons);
    applyLanguage(language);
}

void CoordinateDialog::applyLanguage(const LanguageTable& t) {
    setWindowTitle(t.languageText(171));
    latitudeGroup_->setTitle(t.languageText(172));
    longitudeGroup_->setTitle(t.languageText(173));
    cancelButton_->setText(t.languageText(85));
}

void CoordinateDialog::fill(geo::Position position) {
    fields_->fill(position);
}

std::optional<geo::Position> CoordinateDialog::read() {
    if (!fields_->parseBoth()) return std::nullopt;
    return fields_->position();
}

std::optional<geo::Position> CoordinateDialog::ask(geo::Position position) {
    fill(position);
    latitudeEdit_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return read();
}

} // namespace zelvano
