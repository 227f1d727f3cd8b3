// The configuration file: parsed, every value read as QSettings would, and
// written back; a text value written and read again.
#include "fuzz_support.h"
#include "settings/ini_codec.h"
#include "settings/ini_value.h"

using namespace voltwise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView text(data, qsizetype(size));
    if (const auto entries = ParseIni(text)) {
        for (const QByteArray &value : *entries)
            IniValueData(value);
        const auto back = ParseIni(SerializeIni(*entries));
        fuzz::Check(back && *back == *entries, "a written file reads back as the same entries");
    }
    const QString value = fuzz::Text(data, size);
    const QVariant read = IniValueData(IniTextValue(value));
    fuzz::Check(read.typeId() == QMetaType::QString && read.toString() == value,
                "a written text reads back as itself");
    return 0;
}
