#include "platform/visual_styles.h"

#include <QTest>

#include <map>

using namespace voltwise;

namespace {

constexpr std::uintptr_t kRoutine = 0x10000;

// The routine's bytes in memory, and what the activation asked for.
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
        if (!exported || std::string_view(name) != "DrawThemeParentBackground")
            return std::nullopt;
        return kRoutine;
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

// size bytes of filler (never a pattern byte) with the given hex at offsets.
QByteArray Routine(qsizetype size, const QList<std::pair<qsizetype, QString>> &pieces)
{
    QByteArray bytes(size, '\x11');
    for (const auto &[offset, hex] : pieces) {
        const QByteArray piece = QByteArray::fromHex(hex.toLatin1());
        bytes.replace(offset, piece.size(), piece);
    }
    return bytes;
}

using Pieces = QList<std::pair<qsizetype, QString>>;
// je at 20 (opcode at 23), jne at 100 (displacement at 104), lea at 200,
// call at 203, leave-return at 300: the new target is 200 - 108 = 92.
const Pieces kGood{{20, u"83F8020F84"_qs},
                   {100, u"3BF70F85"_qs},
                   {200, u"8D"_qs},
                   {203, u"E8"_qs},
                   {300, u"C9C2"_qs}};

Pieces Without(qsizetype offset, const QString &replacement = u"11"_qs)
{
    Pieces pieces = kGood;
    pieces.append({offset, replacement});
    return pieces;
}

} // namespace

Q_DECLARE_METATYPE(Pieces)

class TestVisualStyles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hexToBytes()
    {
        QCOMPARE(HexToBytes(u"90E9"), (std::vector<std::uint8_t>{0x90, 0xE9}));
        QCOMPARE(HexToBytes(u"c9C2"), (std::vector<std::uint8_t>{0xC9, 0xC2}));
        QVERIFY(HexToBytes(u"9G").empty());
    }

    void findBytePattern_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("expected");
        QTest::newRow("start") << 400 << 0 << 1 + 2;
        QTest::newRow("very end of the buffer") << 400 << 395 << 396 + 2;
        QTest::newRow("cut off by the end") << 400 << 396 << 0;
        QTest::newRow("short buffer") << 50 << 45 << 46 + 2;
    }

    void findBytePattern()
    {
        QFETCH(int, size);
        QFETCH(int, at);
        QFETCH(int, expected);
        const QByteArray bytes = Routine(size + 8, {{at, u"83F8020F84"_qs}}).left(size);
        const std::span<const std::uint8_t> buffer(
            reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(size));
        QCOMPARE(FindBytePattern(buffer, u"83F8020F84", 2), expected);
        QCOMPARE(FindBytePattern(buffer, u"", 2), 0);
    }

    void initVisualStyles_data()
    {
        QTest::addColumn<Pieces>("pieces");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("result");

        QTest::newRow("both patterns") << kGood << 400 << 0;
        QTest::newRow("no compare-and-jump-if-equal") << Without(20) << 400 << 4;
        QTest::newRow("no compare-and-jump-if-not-equal") << Without(101) << 400 << 4;
        QTest::newRow("C9 C2 without E8") << Without(203) << 400 << 4;
        QTest::newRow("E8 without 8D three bytes before") << Without(200) << 400 << 4;
        QTest::newRow("no C9 C2") << Without(301) << 400 << 4;
        QTest::newRow("pattern beyond the 400 bytes read") << Pieces{{20, u"83F8020F84"_qs},
                                                                     {100, u"3BF70F85"_qs},
                                                                     {200, u"8D"_qs},
                                                                     {203, u"E8"_qs},
                                                                     {399, u"C9C2"_qs}}
                                                           << 500 << 4;
        QTest::newRow("fewer than 400 bytes readable") << kGood << 302 << 0;
    }

    void initVisualStyles()
    {
        QFETCH(Pieces, pieces);
        QFETCH(int, size);
        QFETCH(int, result);
        FakeMemory memory;
        memory.routine = Routine(size, pieces);

        QCOMPARE(InitVisualStyles(memory), result);

        if (result == 0) {
            const std::map<std::uintptr_t, QByteArray> expected{
                {kRoutine + 23, QByteArray::fromHex("90E9")},
                {kRoutine + 104, QByteArray::fromHex("5C000000")}};
            QCOMPARE(memory.writes, expected);
        } else {
            QVERIFY(memory.writes.empty());
        }
        QCOMPARE(memory.themesOff, result == 0 ? 0 : 1);
    }

    void platformMissing_data()
    {
        QTest::addColumn<bool>("commonControls");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("exported");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("themesOff");
        QTest::newRow("no common-controls routine") << false << true << true << 1 << 0;
        QTest::newRow("theme library not loaded") << true << false << true << 2 << 1;
        QTest::newRow("routine not exported") << true << true << false << 3 << 1;
    }

    void platformMissing()
    {
        QFETCH(bool, commonControls);
        QFETCH(bool, loaded);
        QFETCH(bool, exported);
        FakeMemory memory;
        memory.routine = Routine(400, kGood);
        memory.commonControls = commonControls;
        memory.loaded = loaded;
        memory.exported = exported;

        QTEST(InitVisualStyles(memory), "result");
        QTEST(memory.themesOff, "themesOff");
        QVERIFY(memory.writes.empty());
    }

    void linuxHasNoThemeLibrary()
    {
        NoThemeLibraryPlatform platform;
        QVERIFY(!IsThemeLibraryLoaded(platform));
    }
};

QTEST_GUILESS_MAIN(TestVisualStyles)
#include "test_visual_styles.moc"
