#include <gtest/gtest.h>

#include "maker_test_support.h"

namespace {

using testing_support::readMakerFile;
using tiffwalker::CountKind;
using tiffwalker::Maker;
using tiffwalker::ReadingCause;

TEST(PentaxCount, BothHeaderFormsInBothOrdersWhateverTheMarkSays) {
    for (bool aoc : {true, false}) {
        for (bool big : {false, true}) {
            for (const char* mark : {"II", "MM", "  "}) {
                const auto outcome = readMakerFile(synthetic::pentaxFile(25431, aoc, big, mark));
                EXPECT_EQ(outcome.result, "25431") << (aoc ? "AOC " : "PENTAX ") << big << " mark " << mark;
                EXPECT_EQ(outcome.maker, Maker::Pentax);
                EXPECT_EQ(outcome.countKind, CountKind::MechanicalReleases);
            }
        }
    }
}

TEST(PentaxCount, RicohMadeBodiesArePentaxByTheirModel) {
    const auto pentax =
        readMakerFile(synthetic::pentaxFile(2225, false, false, "MM", "RICOH IMAGING COMPANY, LTD.", "PENTAX K-3"));
    EXPECT_EQ(pentax.result, "2225");
    const auto ricoh =
        readMakerFile(synthetic::pentaxFile(2225, false, false, "MM", "RICOH IMAGING COMPANY, LTD.", "GR III"));
    EXPECT_EQ(ricoh.cause, ReadingCause::UnknownMaker) << "Ricoh's own bodies are no maker Frametally reads";
}

TEST(PentaxCount, MakerNoteInDngPrivateData) {
    auto file = synthetic::pentaxFile(1200, false, false, "MM");
    file.inDngPrivateData = true;
    EXPECT_EQ(readMakerFile(file).result, "1200");
}

TEST(PentaxCount, CountWithoutDateOrTimeCannotBeRead) {
    auto file = synthetic::pentaxFile(10, true, false, "II");
    file.entries.erase(file.entries.begin() + 2);  // the time
    EXPECT_EQ(readMakerFile(file).cause, ReadingCause::CountEntryMalformed);
    auto noCount = synthetic::pentaxFile(10, true, false, "II");
    noCount.entries.erase(noCount.entries.begin() + 3);
    EXPECT_EQ(readMakerFile(noCount).cause, ReadingCause::NoShutterCountEntry);
}

TEST(PentaxCount, UnknownHeaderIsAnUnknownLayout) {
    auto file = synthetic::pentaxFile(10, true, false, "II");
    file.layout.header[0] = 'X';
    EXPECT_EQ(readMakerFile(file).cause, ReadingCause::MakerNoteLayoutUnknown);
}

}  // namespace
