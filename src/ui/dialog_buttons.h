// The OK and Cancel buttons of a dialog, right-aligned in a row: OK (the default) accepts, Cancel rejects.
// UI thread.
#pragma once

#include "ui/named.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace zelvano {

struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QHBoxLayout* row;
};

inline DialogButtons okCancelButtons(QDialog* dialog, const QString& okText, const char* okName,
                                     const char* cancelName) {
    DialogButtons b{named(new QPushButton(okText, dialog), okName), named(new QPushButton(dialog), cancelName),
                    new QHBoxLayout};
    b.ok->setDefault(true);
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    b.row->addStretch();
    b.row->addWidget(b.ok);
    b.row->addWidget(b.cancel);
    return b;
}

} // namespace zelvano
