#include "tests/stages.h"

#include "platform/textcodec.h"

namespace qx {

const Stage* stageOf(const QString& testId)
{
    for (const Stage& stage : kStages) {
        if (testId == QLatin1String(stage.testId))
            return &stage;
    }
    return nullptr;
}

int positionMatches(const QString& right, const QString& answer)
{
    const QByteArray expected = cp932::encode(right);
    const QByteArray typed = cp932::encode(answer);
    int matches = 0;
    for (qsizetype i = 0; i < expected.size() && i < typed.size(); ++i) {
        if (expected.at(i) == typed.at(i))
            ++matches;
    }
    return matches;
}

} // namespace qx
