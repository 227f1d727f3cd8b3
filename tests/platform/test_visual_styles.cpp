#include "platform/visual_styles.h"

#include <QTest>

#include <map>

using namespace voltwise;

namespace {

constexpr std::uintptr_t kRoutine = 0x10000;
using Pieces = QList<std::pair<qsizetype, const char *>>;

// The routine's bytes in memory, and what the activation did with them.
class FakeMemory final : public VisualStylePlatform
{
public:
    QByteArray routine;
    bool commonControls = true, loaded = true, exported = true;
    std::map<std::uintptr_t, QByteArray> writes;
    int themesOff = 0;

    bool initCommonControls(std::uint32_t size, std::uint32_t classes) override
    {
        return commonControls && size == 8 && classes == 0x200;
    }
    std::optional<std::uintptr_t> themeLibrary() override
    {
        return loaded ? std::optional<std::uintptr_t>(0x400) : std::nullopt;
    }
    std::optional<std::uintptr_t> routineAddress(std::uintptr_t, const char *name) override
    {
        return exported && std::string_view(name) == "DrawThemeParentBackground"
                   ? std::optional(kRoutine)
                   : std::nullopt;
    }
    QByteArray readMemory(std::uintptr_t address, std::size_t size) override
    {
        return address == kRoutine ? routine.left(qsizetype(size)) : QByteArray();
    }
    bool writeMemory(std::uintptr_t address, QByteArrayView bytes) override
    {
        writes[address] = bytes.toByteArray();
        return true;
    }
    void setThemeAppProperties(std::uint32_t flags) override { themesOff += flags == 0; }
};

// size filler bytes (never a pattern byte) with the given hex at offsets.
QByteArray Routine(qsizetype size, const Pieces &pieces)
{
    QByteArray bytes(size + 8, '\x11');
    for (const auto &[offset, hex] : pieces) {
        const QByteArray piece = QByteArray::fromHex(hex);
        bytes.replace(offset, piece.size(), piece);
    }
    return bytes.left(size);
}

// je at 20 (its opcode at 23), jne at 100 (its displacement at 104), lea at
// 200, call at 203, leave and return at 300: the new target is 200 - 108.
const Pieces kGood{{20, "83F8020F84"}, {100, "3BF70F85"}, {200, "8D"}, {203, "E8"}, {300, "C9C2"}};

Pieces With(qsizetype offset, const char *hex = "11")
{
    return Pieces(kGood) << std::pair(offset, hex);
}

} // namespace

Q_DECLARE_METATYPE(Pieces)

class TestVisualStyles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void patterns()
    {
        QCOMPARE(HexToBytes(u"90E9"), (std::vector<std::uint8_t>{0x90, 0xE9}));
        QVERIFY(HexToBytes(u"9G").empty());
        for (const auto &[size, at, expected] :
             {std::tuple{400, 395, 396 + 2}, {400, 396, 0}, {50, 45, 46 + 2}, {50, 0, 1 + 2}}) {
            const QByteArray bytes = Routine(size, {{at, "83F8020F84"}});
            const std::span buffer(reinterpret_cast<const std::uint8_t *>(bytes.data()),
                                   std::size_t(size));
            QCOMPARE(FindBytePattern(buffer, u"83F8020F84", 2), expected);
            QCOMPARE(FindBytePattern(buffer, u"", 2), 0);
        }
    }

    void initVisualStyles_data()
    {
        QTest::addColumn<Pieces>("pieces");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<int>("result");

        QTest::newRow("both patterns") << kGood << 400 << QString() << 0;
        QTest::newRow("fewer than 400 bytes readable") << kGood << 302 << QString() << 0;
        QTest::newRow("no compare and jump-if-equal") << With(20) << 400 << QString() << 4;
        QTest::newRow("no compare and jump-if-not-equal") << With(101) << 400 << QString() << 4;
        QTest::newRow("C9 C2 without E8") << With(203) << 400 << QString() << 4;
        QTest::newRow("E8 without 8D three bytes before") << With(200) << 400 << QString() << 4;
        QTest::newRow("C9 C2 across the end of the 400 bytes")
            << (With(300) << std::pair(399, "C9C2")) << 500 << QString() << 4;
        QTest::newRow("no common-controls routine") << kGood << 400 << u"controls"_qs << 1;
        QTest::newRow("theme library not loaded") << kGood << 400 << u"library"_qs << 2;
        QTest::newRow("routine not exported") << kGood << 400 << u"routine"_qs << 3;
    }

    void initVisualStyles()
    {
        QFETCH(Pieces, pieces);
        QFETCH(int, size);
        QFETCH(QString, missing);
        QFETCH(int, result);
        FakeMemory memory;
        memory.routine = Routine(size, pieces);
        memory.commonControls = missing != u"controls";
        memory.loaded = missing != u"library";
        memory.exported = missing != u"routine";

        QCOMPARE(InitVisualStyles(memory), result);
        QCOMPARE(IsThemeLibraryLoaded(memory), memory.loaded);

        std::map<std::uintptr_t, QByteArray> written;
        if (result == 0)
            written = {{kRoutine + 23, QByteArray::fromHex("90E9")},
                       {kRoutine + 104, QByteArray::fromHex("5C000000")}};
        QCOMPARE(memory.writes, written);
        QCOMPARE(memory.themesOff, result == 0 || result == 1 ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestVisualStyles)
#include "test_visual_styles.moc"
