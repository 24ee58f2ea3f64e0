#include "jobs/job_list.h"
#include "jobs/job_texts.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"
#include "support/temp_program_folder.h"

#include <thread>

using namespace zelvano;

namespace {

const QLocale kRussian(QLocale::Russian, QLocale::Russia);
const QDateTime kStart(QDate(2026, 12, 10), QTime(19, 2, 5));

std::shared_ptr<stichtype> jobWith(int done, int count, const QDateTime& start = kStart) {
    auto job = std::make_shared<stichtype>();
    job->startTime = start;
    job->tilesDone = done;
    job->tileCount = count;
    return job;
}

// The built-in texts, as a program folder without a language file gets them.
void loadBuiltinTexts(LanguageTable& table) {
    const test::TempProgramFolder folder;
    QString name = QStringLiteral("Russian.txt");
    table.loadLanguage(folder.path(), name);
}

} // namespace

TEST(JobTexts, DateAndTimeAsTheSystemWritesThem) {
    EXPECT_EQ(jobDateTimeText(kStart, kRussian), QStringLiteral("10.12.2026 19:02:05"));
    EXPECT_EQ(jobDateTimeText(QDateTime(QDate(2026, 12, 10), QTime(0, 0)), kRussian), QStringLiteral("10.12.2026"));
    EXPECT_EQ(jobDateTimeText(QDateTime(QDate(2026, 12, 10), QTime(0, 0, 1)), kRussian),
              QStringLiteral("10.12.2026 00:00:01"));
}

// Every state of the status line with its exact spaces: "из " and "фрагментов " end in one, the finishing
// line has none before "фрагментов ".
TEST(JobTexts, StatusLines) {
    LanguageTable texts;
    loadBuiltinTexts(texts);
    const QDateTime before = kStart.addSecs(-1), after = kStart.addSecs(60);
    struct Case {
        const char* name;
        int done, count;
        QDateTime now;
        bool cancelled;
        QString expected;
    };
    const Case cases[] = {
        {"ahead", 0, 10, before, false, QStringLiteral("Отложено до 10.12.2026 19:02:05")},
        {"at the start time exactly", 0, 10, kStart, false, QStringLiteral("Отложено до 10.12.2026 19:02:05")},
        {"working", 3, 10, after, false,
         QStringLiteral("С 10.12.2026 19:02:05 ожидайте, обработано 3 из  10 фрагментов ")},
        {"finishing", 10, 10, after, false, QStringLiteral("все закачано, завершение 10фрагментов ")},
        {"cancelled while waiting", 0, 10, before, true, QStringLiteral("С 10.12.2026 19:02:05 Отменено  ")},
        {"cancelled while finishing", 10, 10, after, true, QStringLiteral("С 10.12.2026 19:02:05 Отменено  ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto job = jobWith(c.done, c.count);
        if (c.cancelled) job->cancel.request_stop();
        EXPECT_EQ(jobStatusLine(*job, c.now, texts, kRussian), c.expected);
    }
}

TEST(JobList, NewestFirstEverywhere) {
    JobList list;
    EXPECT_EQ(list.head(), nullptr);
    const auto a = jobWith(0, 1), b = jobWith(0, 2), c = jobWith(0, 3);
    EXPECT_EQ(list.addNewest(a), 1);
    EXPECT_EQ(list.addNewest(b), 2);
    EXPECT_EQ(list.addNewest(c), 3);
    EXPECT_EQ(list.head(), c);
    EXPECT_EQ(list.at(0), c);
    EXPECT_EQ(list.at(2), a);
    EXPECT_EQ(list.at(3), nullptr);
    EXPECT_EQ(list.at(-1), nullptr);

    EXPECT_TRUE(list.remove(b.get())); // from the middle
    EXPECT_FALSE(list.remove(b.get()));
    EXPECT_EQ(list.jobs(), (std::vector<JobList::JobPtr>{c, a}));
    EXPECT_TRUE(list.remove(c.get())); // the head: the next older job takes its place
    EXPECT_EQ(list.head(), a);
}

// The UI thread keeps a job it found while the worker logs to it and removes it: both sides stay sound, and
// the job's log is whole afterwards.
TEST(JobList, LogAndRemovalRaceNothing) {
    JobList list;
    auto job = jobWith(0, 1);
    list.addNewest(job);
    std::thread worker([&list, raw = job.get()] {
        for (int i = 0; i < 2000; ++i)
            list.appendLog(*raw, QString::number(i));
        list.remove(raw);
    });
    int seen = 0;
    while (auto found = list.at(0)) {
        const QStringList lines = list.logFrom(*found, seen);
        seen += static_cast<int>(lines.size());
    }
    worker.join();
    EXPECT_EQ(list.size(), 0);
    const QStringList log = list.log(*job);
    ASSERT_EQ(log.size(), 2000);
    EXPECT_EQ(log.last(), QStringLiteral("1999"));
}
