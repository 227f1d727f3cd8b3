// The exit question as the user meets it, answered by its buttons.
#include "ui/exit_prompt.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

using namespace voltwise;

class TestExitPrompt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on the button
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("exits");
        QTest::newRow("Yes") << 0 << int(QMessageBox::Yes) << true;
        QTest::newRow("No") << 0 << int(QMessageBox::No) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << false;
    }

    void answers()
    {
        QFETCH(int, key);
        QFETCH(int, button);
        QFETCH(bool, exits);
        QWidget window;
        MessageBoxExitPrompt prompt;
        QCoro::Task<bool> asked = prompt.confirmExit(&window);
        QPointer<QMessageBox> box = window.findChild<QMessageBox *>(u"msgExitQuestion"_qs);
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), u"Voltwise"_qs);
        QCOMPARE(box->text(), u"Are you sure you want to exit Voltwise?"_qs);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        if (key)
            QTest::keyClick(box, Qt::Key(key));
        else
            box->button(QMessageBox::StandardButton(button))->click();
        // The answer arrives even though the box deletes itself on closing.
        QTRY_VERIFY(!box);
        QVERIFY(asked.isReady());
        QCOMPARE(QCoro::waitFor(asked), exits);
    }
};

QTEST_MAIN(TestExitPrompt)
#include "test_exit_prompt.moc"
