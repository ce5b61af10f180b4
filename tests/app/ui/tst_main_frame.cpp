#include "app/ui/main_frame.h"

#include <QMdiArea>
#include <QtTest>

class TestMainFrame : public QObject
{
    Q_OBJECT

private slots:
    void opensAnEmptyDocumentArea()
    {
        tw::CMainFrame frame;
        frame.show();
        QCOMPARE(frame.windowTitle(), QStringLiteral("Tillwise"));
        auto *area = qobject_cast<QMdiArea *>(frame.centralWidget());
        QVERIFY(area);
        QVERIFY(area->subWindowList().isEmpty());
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_main_frame.moc"
