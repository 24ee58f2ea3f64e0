#include "jobs/job_texts.h"

#include <QRegularExpression>

namespace zelvano {

QString jobDateTimeText(const QDateTime& moment, const QLocale& locale) {
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() == QTime(0, 0)) return date;
    // Qt's long time names the time zone, which a time of day on this machine does not need.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    const QString time = locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
    return date + u' ' + locale.toString(moment.time(), time);
}

QString jobStatusLine(const stichtype& job, const QDateTime& now, const LanguageTable& t, const QLocale& locale) {
    const QString start = jobDateTimeText(job.startTime, locale);
    const QString since = QStringLiteral("С ") + start + u' ';
    if (job.cancelled()) return since + t.languageText(54) + u' ';
    if (now <= job.startTime) return t.languageText(49) + u' ' + start;
    const int done = job.tilesDone;
    const QString count = QString::number(job.tileCount);
    if (done < job.tileCount)
        return since + t.languageText(50) + u' ' + QString::number(done) + u' ' + t.languageText(51) + u' ' + count +
               u' ' + t.languageText(52);
    return t.languageText(53) + u' ' + count + t.languageText(52);
}

} // namespace zelvano
