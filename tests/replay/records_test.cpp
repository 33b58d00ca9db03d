// Records: a clear only ever betters them, time and deaths count only for a
// world played from its start, the best journey needs every world timed, and
// they are kept in the save's Records section.
#include "app/records.h"

#include <gtest/gtest.h>

namespace grumbo {
namespace {

struct Clear {
    bool fromStart;
    float seconds;
    int deaths, subscribers;
    // The record afterwards and what was new.
    int centis, fewestDeaths, mostSubscribers;
    bool newTime, newDeaths, newSubscribers;
};

TEST(Records, AClearOnlyEverBettersThem) {
    const Clear clears[] = {
        {true, 83.456f, 3, 20000, 8346, 3, 20000, true, true, true},
        {true, 90.0f, 1, 19000, 8346, 1, 20000, false, true, false},
        {true, 80.004f, 5, 20000, 8000, 1, 20000, true, false, false},
        {false, 10.0f, 0, 26000, 8000, 1, 26000, false, false, true},
        {true, 95.0f, 9, 100, 8000, 1, 26000, false, false, false},
    };
    Records records;
    for (const Clear& c : clears) {
        const ClearResult result =
            noteClear(records, 2, c.seconds, c.deaths, c.subscribers, c.fromStart, false);
        const WorldRecord& r = records.worlds[2];
        EXPECT_EQ(r.clearCentis, c.centis) << c.seconds;
        EXPECT_EQ(r.fewestDeaths, c.fewestDeaths) << c.seconds;
        EXPECT_EQ(r.mostSubscribers, c.mostSubscribers) << c.seconds;
        EXPECT_EQ(result.newTime, c.newTime) << c.seconds;
        EXPECT_EQ(result.newDeaths, c.newDeaths) << c.seconds;
        EXPECT_EQ(result.newSubscribers, c.newSubscribers) << c.seconds;
    }
    EXPECT_EQ(records.worlds[1].clearCentis, -1);
    EXPECT_EQ(clearTimeText(8346), "1:23.46");
    EXPECT_EQ(clearTimeText(360000 + 5), "60:00.05");
}

TEST(Records, TheBestJourneyNeedsEveryWorldTimedAndOnlyImproves) {
    Records records;
    const auto journey = [&records](float secondsEach, int untimedWorld) {
        records.journeyCentis = 0;
        records.journeyTimed = true;
        ClearResult last;
        for (int w = 0; w < 10; ++w) {
            last = noteClear(records, w, secondsEach, 0, 1000, w != untimedWorld, w == 9);
        }
        return last.newJourney;
    };
    EXPECT_TRUE(journey(60, -1));
    EXPECT_EQ(records.bestJourneyCentis, 60000);
    EXPECT_FALSE(journey(61, -1));
    EXPECT_FALSE(journey(30, 4));
    EXPECT_EQ(records.bestJourneyCentis, 60000);
}

TEST(Records, KeptInTheSaveBesideWhatElseItHolds) {
    IniSnapshot file;
    file.parse(L"[Journey]\r\nLevel=3\r\n[Settings]\r\nMusic=40\r\n");
    Records none;
    writeRecords(file, none);
    EXPECT_EQ(file.serialize().find(L"Records"), std::wstring::npos);
    EXPECT_EQ(file.serialize().find(L"Timer"), std::wstring::npos);

    // A journey under way is kept before any world is finished.
    Records started;
    started.journeyTimed = true;
    IniSnapshot fresh;
    writeRecords(fresh, started);
    EXPECT_EQ(fresh.integer(L"Records", L"JourneyTimed", 0), 1);

    Records records;
    noteClear(records, 7, 100.5f, 2, 70000, true, false);
    // An assisted clear marks only what it betters; a later plain clear that
    // betters the time again takes the time's mark away.
    noteClear(records, 7, 90.0f, 4, 60000, true, false, true);
    EXPECT_EQ(records.worlds[7].assisted, 1);
    EXPECT_EQ(worldRecordLine(records.worlds[7]),
              "BEST TIME 1:30.00 (ASSIST)   FEWEST DEATHS 2   MOST SUBSCRIBERS 70000");
    noteClear(records, 7, 89.0f, 4, 90000, true, false, true);
    noteClear(records, 7, 80.0f, 4, 1, true, false);
    EXPECT_EQ(records.worlds[7].assisted, 4);
    records.journeyCentis = 10050;
    records.journeyTimed = true;
    writeRecords(file, records);
    file.set(L"Records", L"FromALaterVersion", L"x");
    IniSnapshot reloaded;
    reloaded.parse(file.serialize());
    Records back;
    readRecords(reloaded, back);
    EXPECT_EQ(back.worlds[7].clearCentis, 8000);
    EXPECT_EQ(back.worlds[7].fewestDeaths, 2);
    EXPECT_EQ(back.worlds[7].mostSubscribers, 90000);
    EXPECT_EQ(back.worlds[7].assisted, 4);
    EXPECT_EQ(back.worlds[6].clearCentis, -1);
    EXPECT_EQ(back.worlds[6].fewestDeaths, -1);
    EXPECT_EQ(back.worlds[6].mostSubscribers, -1);
    EXPECT_EQ(back.journeyCentis, 10050);
    EXPECT_TRUE(back.journeyTimed);
    writeRecords(reloaded, back);
    EXPECT_EQ(reloaded.get(L"Records", L"FromALaterVersion", L""), L"x");
    EXPECT_EQ(reloaded.integer(L"Journey", L"Level", 0), 3);
}

} // namespace
} // namespace grumbo
