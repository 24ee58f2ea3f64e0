// The texts a job shows: its status line in the running-jobs box and the date-times of its log.
#pragma once

#include "config/language_table.h"
#include "jobs/job.h"

#include <QDateTime>
#include <QLocale>

namespace zelvano {

// The locale's short date and its long time without the time zone; the date alone at midnight exactly.
QString jobDateTimeText(const QDateTime& moment, const QLocale& locale = QLocale::system());

// The job's line at `now`: put off until its start, working with its count, finishing, or cancelled.
QString jobStatusLine(const stichtype& job, const QDateTime& now, const LanguageTable& language,
                      const QLocale& locale = QLocale::system());

} // namespace zelvano
