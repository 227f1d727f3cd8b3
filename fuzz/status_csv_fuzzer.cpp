// The status file, read and then presented as the window would show it.
#include "core/conversions.h"
#include "fuzz_support.h"
#include "refresh/status_csv_reader.h"
#include "status/status_presentation.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::Text(data, size);
    GridStatus previous;
    previous.Level = LevelAlert;
    previous.ActualDemand = 30000;
    const GridStatus read = ReadStatusCsv(text, previous);
    fuzz::Check(read.Level >= LevelNormal && read.Level <= LevelLoadInterruptions,
                "the level is one of the table's");
    fuzz::Check(read.ForecastKind == previous.ForecastKind, "no reader sets ForecastKind");
    // Presenting is slow beside reading; one user's locale unlike the operator's.
    PresentStatus(read, fuzz::Locales().at(1));
    return 0;
}
