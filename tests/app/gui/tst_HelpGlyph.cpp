#include "HelpGlyph.h"
#include "UCWWizard.h"
#include "UDmImagesAct.h"
#include "UVmRepositoryImages.h"

#include <QImage>
#include <QTest>
#include <QToolButton>

class TestWizardHelpGlyph : public QObject
{
    Q_OBJECT
private slots:
    void withoutProviderTheButtonHasNoGlyph()
    {
        QVERIFY(!TWizardKv::HelpGlyphProvider());
        QWidget host;
        auto *wizard = new TWizardKv(&host);
        QVERIFY(wizard->HelpButton->icon().isNull());
        QVERIFY(RepositoryImages);
        QCOMPARE(RepositoryImages->LoadedModuleCount(), 0);
    }

    void firstWizardLoadsTheGlyphModuleOnly()
    {
        RegisterWizardHelpGlyph();
        QCOMPARE(RepositoryImages->LoadedModuleCount(), 0);   // asked by a wizard only

        QWidget host;
        auto *wizard = new TWizardKv(&host);
        wizard->Loaded();

        QCOMPARE(RepositoryImages->LoadedModuleCount(), 1);
        QVERIFY(RepositoryImages->IsLoaded(TDmImagesAct::ClassType()));

        const QIcon icon = wizard->HelpButton->icon();
        QVERIFY(!icon.isNull());
        const QImage glyph = icon.pixmap(QSize(16, 16)).toImage();
        QCOMPARE(glyph.size(), QSize(16, 16));

        QPixmap expected;
        RepositoryImages->GetBitmap(ieActHelp, expected, is16p);
        QCOMPARE(glyph.convertToFormat(QImage::Format_ARGB32),
                 expected.toImage().convertToFormat(QImage::Format_ARGB32));
    }

    void secondWizardLoadsNothingMore()
    {
        const int before = RepositoryImages->LoadedModuleCount();
        QWidget host;
        auto *wizard = new TWizardKv(&host);
        wizard->Loaded();
        QCOMPARE(RepositoryImages->LoadedModuleCount(), before);
        QVERIFY(!wizard->HelpButton->icon().isNull());
    }
};

QTEST_MAIN(TestWizardHelpGlyph)
#include "tst_HelpGlyph.moc"
