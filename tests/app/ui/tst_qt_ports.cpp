#include "platform/ui/dialog_fields.h"
#include "platform/ui/qt_message_port.h"
#include "platform/ui/qt_settings_store.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tw;

namespace {

struct Seen
{
    QString caption;
    QString text;
    QStringList buttons;
};

// Reads the box the port shows and presses one of its buttons, as the user would.
void answer_next_box(Seen &seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton *button : box->buttons())
            seen.buttons << button->text().remove('&');
        box->button(press)->click();
    });
}

// Presses the button at `index` of the next box, or closes it with Escape when index is -1.
void choose_in_next_box(Seen &seen, int index)
{
    QTimer::singleShot(0, [&seen, index] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.text = box->text();
        for (QAbstractButton *button : box->buttons())
            seen.buttons << button->text();
        if (index < 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->buttons().at(index)->click();
    });
}

} // namespace

class TestQtPorts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Tillwise")); }

    void informShowsAnOkBoxCaptionedWithTheProgramUnlessGivenOne()
    {
        QtMessagePort port;
        Seen seen;
        answer_next_box(seen, QMessageBox::Ok);
        port.inform("Please enter a location name", {}, MessageIcon::Information);
        QCOMPARE(seen.caption, QStringLiteral("Tillwise"));
        QCOMPARE(seen.text, QStringLiteral("Please enter a location name"));
        QCOMPARE(seen.buttons, QStringList{"OK"});

        Seen captioned;
        answer_next_box(captioned, QMessageBox::Ok);
        port.inform("Blend must contain nitrogen", "Blend Unacceptable", MessageIcon::Warning);
        QCOMPARE(captioned.caption, QStringLiteral("Blend Unacceptable"));
    }

    void askYesNoReturnsTheAnswer()
    {
        QtMessagePort port;
        Seen yes;
        answer_next_box(yes, QMessageBox::Yes);
        QVERIFY(port.ask_yes_no("Do You wish to permanently save this blend", "Save Blend"));
        QCOMPARE(yes.buttons.size(), 2);
        Seen no;
        answer_next_box(no, QMessageBox::No);
        QVERIFY(!port.ask_yes_no("Do You wish to permanently save this blend", "Save Blend"));
        port.beep();
    }

    void chooseReturnsThePressedChoiceAndEscapeTheLast()
    {
        QtMessagePort port;
        const std::vector<std::string> choices = {"Open full.loc", "Use the open location",
                                                  "Cancel"};
        for (const int press : {0, 1, 2}) {
            Seen seen;
            choose_in_next_box(seen, press);
            // The box may order its buttons by role: the answer follows the text pressed.
            const std::size_t answer = port.choose("Which location?", choices, "Field Location");
            QCOMPARE(seen.buttons.size(), 3);
            QCOMPARE(QString::fromStdString(choices.at(answer)), seen.buttons.at(press));
        }
        Seen escaped;
        choose_in_next_box(escaped, -1);
        QCOMPARE(port.choose("Which location?", choices, {}), std::size_t(2));
    }

    // A field shows a number rounded; left alone it gives back the exact value, so looking at a
    // dialog and pressing OK changes nothing. Typed over, it gives what was typed.
    void shownNumbersAreRoundedAndTakenBackExactly()
    {
        QLineEdit edit;
        float value = 0.0f;
        show_number(&edit, 0.403313f);
        QCOMPARE(edit.text(), QStringLiteral("0.403"));
        const std::pair<QLineEdit *, float *> fields[] = {{&edit, &value}};
        QVERIFY(take_numbers(fields));
        QCOMPARE(value, 0.403313f);
        edit.setText(QStringLiteral("0.5"));
        QVERIFY(take_numbers(fields));
        QCOMPARE(value, 0.5f);
        // Typing the shown text back is the same as leaving it.
        edit.setText(QStringLiteral("0.403"));
        QVERIFY(take_numbers(fields));
        QCOMPARE(value, 0.403313f);
    }

    void settingsStoreKeepsIntegersAndStringsBySection()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("settings.ini"));
        {
            QtSettingsStore store(file);
            QCOMPARE(store.read_int("Tip", "FilePos", 7), 7);
            QVERIFY(!store.read_string("Tip", "TimeStamp"));
            store.write_int("Tip", "FilePos", 120);
            store.write_string("Tip", "TimeStamp", "Tue Dec  8 01:10:08 2026");
            store.write_string("Recent File List", "File1", "/home/grower/Greeley2022.loc");
        }
        QtSettingsStore again(file);
        QCOMPARE(again.read_int("Tip", "FilePos", 0), 120);
        QCOMPARE(again.read_string("Tip", "TimeStamp"), std::string("Tue Dec  8 01:10:08 2026"));
        QCOMPARE(again.read_string("Recent File List", "File1"),
                 std::string("/home/grower/Greeley2022.loc"));
        // A string where an integer is asked for reads as the fallback.
        QCOMPARE(again.read_int("Tip", "TimeStamp", -1), -1);
    }
};

QTEST_MAIN(TestQtPorts)
#include "tst_qt_ports.moc"
