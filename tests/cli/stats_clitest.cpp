#include "core/files/dovdatcodec.h"
#include "support/clirun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeDataFile(const QString& path, const std::vector<float>& values,
                   const std::vector<std::string>& times) {
    const auto bytes = encodeDovDat(values, std::vector<std::string>(values.size(), "C"), times);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size()));
}

// The two files of a chain read as one night: the last sample of the first
// file holds until the first of the second.
TEST(OrvaneCliStats, JsonOfAChain) {
    QTemporaryDir dir;
    writeDataFile(dir.filePath(QStringLiteral("night.DovDat")), {140.0f, 151.0f, 152.5f},
                  {"12-07-26/22:00:00", "12-07-26/22:00:01", "12-07-26/22:00:02"});
    writeDataFile(dir.filePath(QStringLiteral("night-2.DovDat")), {149.0f, 160.0f, 3000.0f},
                  {"12-07-26/22:00:03", "12-07-26/22:00:04", "12-07-26/22:00:05"});
    CliRun run({QStringLiteral("stats"), dir.path(), QStringLiteral("--high"),
                QStringLiteral("150"), QStringLiteral("--low"), QStringLiteral("0"),
                QStringLiteral("--json")});
    ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
    const QString json = run.out();
    for (const char* field :
         {"\"samples\":6,", "\"min\":140.0,", "\"max\":160.0,", "\"mean\":150.500,",
          "\"no_value\":1,", "\"gaps\":0,", "\"above_seconds\":3.000,", "\"below_seconds\":0.000,",
          "T22:00:01.000", "\"limit\":\"high\",\"extreme\":152.5}", "\"extreme\":160.0}]}"})
        EXPECT_TRUE(json.contains(QString::fromUtf8(field)))
            << field << " in " << json.toStdString();

    CliRun swapped({QStringLiteral("stats"), dir.path(), QStringLiteral("--high"),
                    QStringLiteral("10"), QStringLiteral("--low"), QStringLiteral("20")});
    EXPECT_EQ(swapped.finish(), 2);
    CliRun missing({QStringLiteral("stats"), dir.filePath(QStringLiteral("gone.DovDat"))});
    EXPECT_EQ(missing.finish(), 1);
}

// The table for people: its labels in the language of the computer, the values
// in one column however long the labels are.
TEST(OrvaneCliStats, TextInEnglishAndGerman) {
    QTemporaryDir dir;
    writeDataFile(dir.filePath(QStringLiteral("night.DovDat")), {140.0f, 151.0f, 152.5f},
                  {"12-07-26/22:00:00", "12-07-26/22:00:01", "12-07-26/22:00:02"});
    const QStringList args{QStringLiteral("stats"), dir.path(), QStringLiteral("--high"),
                           QStringLiteral("150")};
    for (const auto& [locale, samples, above] :
         {std::tuple{"C.UTF-8", "samples   3\n", "above     1 s (limit 150 C)\n"},
          std::tuple{"de_DE.UTF-8", "Messwerte  3\n", "über       1 s (Grenze 150 C)\n"}}) {
        CliRun::Options options;
        options.locale = QString::fromUtf8(locale);
        CliRun run(args, options);
        ASSERT_EQ(run.finish(), 0) << run.err().toStdString();
        const QString text = run.out();
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(samples))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(above))) << text.toStdString();
    }
}

} // namespace
