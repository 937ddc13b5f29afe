// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every file of the fuzzers' seed corpus, fed to the same property checks as
// the libFuzzer programs, so the ordinary build keeps what fuzzing found.

#include "../fuzz/targets.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <iterator>

namespace {

using Target = const char* (*)(const QByteArray&);

struct Corpus {
    const char* folder;
    Target check;
};

const Corpus kCorpora[] = {
    {"commatext", qxfuzz::commaText},
    {"recordlines", qxfuzz::recordLines},
    {"cp932", qxfuzz::cp932},
    {"ranking", qxfuzz::ranking},
    {"progress", qxfuzz::progress},
    {"csvfield", qxfuzz::csvField},
    {"recordfields", qxfuzz::recordFields},
    {"commandline", qxfuzz::commandLine},
    {"drawnpicture", qxfuzz::drawnPicture},
};

} // namespace

class FuzzReplayTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void seedHoldsTheProperties_data();
    void seedHoldsTheProperties();
};

void FuzzReplayTest::seedHoldsTheProperties_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("target");
    for (int target = 0; target < int(std::size(kCorpora)); ++target) {
        const QDir folder(QStringLiteral(QX_SOURCE_DIR "/fuzz/corpus/") +
                          QLatin1String(kCorpora[target].folder));
        const QStringList files = folder.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(folder.path() + QStringLiteral(" has no seeds")));
        for (const QString& file : files) {
            const QString row = QLatin1String(kCorpora[target].folder) + QLatin1Char('/') + file;
            QTest::newRow(qPrintable(row)) << folder.filePath(file) << target;
        }
    }
}

void FuzzReplayTest::seedHoldsTheProperties()
{
    QFETCH(QString, path);
    QFETCH(int, target);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const char* broken = kCorpora[target].check(file.readAll());
    QVERIFY2(!broken, broken);
}

QTEST_GUILESS_MAIN(FuzzReplayTest)
#include "tst_fuzzreplay.moc"
