// What a person sees of the window, on each page: every text readable
// against what lies behind it (also when the desktop's palette is dark),
// nothing clipped or covered, the pictures drawn for the screen's scale.
//
// CTest runs this program as it is and again with DejaVu Sans as the only
// font (ZEDEDE_EXPECT_FONT names the family the run must have) and at
// scale factors of 2 and 1.5. With ZEDEDE_SHOTS_DIR set the pages are saved there,
// named after ZEDEDE_LOOK_VARIANT.

#include "CuitMaskEdit.h"
#include "UCWWizard.h"
#include "UserInterfaceFont.h"
#include "MessageBoxes.h"
#include "ScriptedDialogs.h"
#include "ProgramLook.h"
#include "ZeDedeApp.h"
#include "uZeDede.h"
#include "WindowTestSupport.h"
#include "Registry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// A palette of a dark desktop theme, as a platform theme would give it.
QPalette DarkDesktopPalette()
{
    QPalette p;
    const QColor window(45, 45, 48), text(230, 230, 230), base(30, 30, 30);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Window, window);
        p.setColor(g, QPalette::WindowText, g == QPalette::Disabled ? QColor(120, 120, 120) : text);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::AlternateBase, window);
        p.setColor(g, QPalette::Text, g == QPalette::Disabled ? QColor(120, 120, 120) : text);
        p.setColor(g, QPalette::Button, window);
        p.setColor(g, QPalette::ButtonText, g == QPalette::Disabled ? QColor(120, 120, 120) : text);
        p.setColor(g, QPalette::Light, QColor(80, 80, 80));
        p.setColor(g, QPalette::Midlight, QColor(65, 65, 65));
        p.setColor(g, QPalette::Mid, QColor(35, 35, 35));
        p.setColor(g, QPalette::Dark, QColor(25, 25, 25));
        p.setColor(g, QPalette::Shadow, Qt::black);
        p.setColor(g, QPalette::Highlight, QColor(61, 174, 233));
        p.setColor(g, QPalette::HighlightedText, Qt::white);
        p.setColor(g, QPalette::Link, QColor(100, 160, 255));
        p.setColor(g, QPalette::ToolTipBase, window);
        p.setColor(g, QPalette::ToolTipText, text);
    }
    return p;
}

double Luminance(QRgb AColor)
{
    auto channel = [](int c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(AColor)) + 0.7152 * channel(qGreen(AColor))
           + 0.0722 * channel(qBlue(AColor));
}

double Contrast(QRgb A, QRgb B)
{
    const double a = Luminance(A), b = Luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The contrast of a text drawn in AImage: between the commonest colour (what
// lies behind the text) and the colour that stands out most from it.
double TextContrast(const QImage &AImage)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < AImage.height(); ++y)
        for (int x = 0; x < AImage.width(); ++x)
            ++counts[AImage.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, Contrast(background, it.key()));
    return best;
}

QString Describe(const QWidget *AWidget)
{
    QString name = AWidget->objectName();
    if (auto *l = qobject_cast<const QLabel *>(AWidget))
        name += QStringLiteral(" \"") + l->text().left(40) + QLatin1Char('"');
    if (auto *b = qobject_cast<const QAbstractButton *>(AWidget))
        name += QStringLiteral(" \"") + b->text() + QLatin1Char('"');
    return name.isEmpty() ? QString::fromLatin1(AWidget->metaObject()->className()) : name;
}

// Shown and not hidden by what holds it (a header folded to no height).
bool Shown(const QWidget *AWidget)
{
    return AWidget->isVisible() && !AWidget->visibleRegion().isEmpty();
}

bool HasText(const QWidget *AWidget)
{
    if (auto *l = qobject_cast<const QLabel *>(AWidget))
        return !l->text().trimmed().isEmpty();
    if (auto *b = qobject_cast<const QAbstractButton *>(AWidget))
        return !b->text().trimmed().isEmpty();
    if (auto *e = qobject_cast<const QLineEdit *>(AWidget))
        return !e->displayText().trimmed().isEmpty();
    return false;
}

} // namespace

class TestfrmZeDedeLook : public QObject
{
    Q_OBJECT
    QTemporaryDir FHome;
    std::unique_ptr<TfrmZeDede> F;
    bool FDarkDesktop = false;

    void shot(const QString &APage)
    {
        const QString dir = qEnvironmentVariable("ZEDEDE_SHOTS_DIR");
        if (dir.isEmpty())
            return;
        QString variant = qEnvironmentVariable("ZEDEDE_LOOK_VARIANT");
        if (variant.isEmpty())
            variant = QStringLiteral("normal");
        const QString palette = FDarkDesktop ? QStringLiteral("-escritorio-oscuro") : QString();
        QDir().mkpath(dir);
        F->grab().save(dir + QLatin1Char('/') + variant + palette + QLatin1Char('-') + APage
                       + QStringLiteral(".png"));
    }

    // Shows the three pages in turn, with the texts a run puts in them, and
    // checks each with ACheck.
    template <typename C>
    void onEveryPage(C ACheck)
    {
        F = std::make_unique<TfrmZeDede>();
        F->show();
        F->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.get()));
        ACheck(QStringLiteral("bienvenida"));
        QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton);
        QCOMPARE(F->wizt->ActivePage(), F->wpDatos);
        TypeText(F->eNombreEmpresa, QStringLiteral("Compañía S.A."));
        TypeText(F->eOperador, QStringLiteral("José Pérez"));
        ACheck(QStringLiteral("datos"));
        // The longest hint, shown while the operator's fields have the focus.
        F->eOperador->setFocus();
        QCOMPARE(F->cxLabelHint->text(), TfrmZeDede::HintOperador);
        ACheck(QStringLiteral("datos-operador"));
        F->laFilePrivada->setText(QStringLiteral("Privada_CompaaSA_JosPrez.key"));
        F->laFilePedido->setText(QStringLiteral("Pedido_CompaaSA_JosPrez.req"));
        F->laFileSource->setText(QStringLiteral("Source_CompaaSA_JosPrez.txt"));
        for (QLabel *l : {F->laFilePrivada, F->laFilePedido, F->laFileSource})
            l->adjustSize();
        F->eCarpetaPedido->setText(FHome.path() + QStringLiteral("/Documents/Mis certificados/"));
        F->wizt->SetActivePage(F->wpFinal);
        ACheck(QStringLiteral("final"));
        F.reset();
    }

    // Every shown text-bearing widget of the window.
    QList<QWidget *> texts() const
    {
        QList<QWidget *> result;
        for (QWidget *w : F->findChildren<QWidget *>())
            if (Shown(w) && HasText(w) && w->window() == F.get())
                result << w;
        return result;
    }

    void checkReadable(const QString &APage)
    {
        const QImage window = F->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = window.devicePixelRatio();
        for (QWidget *w : texts()) {
            if (!w->isEnabled())
                continue; // drawn faint on purpose
            QRect area(w->mapTo(F.get(), QPoint(0, 0)), w->size());
            if (auto *box = qobject_cast<QGroupBox *>(w)) {
                QStyleOptionGroupBox option;
                option.initFrom(box);
                option.text = box->title();
                option.subControls = QStyle::SC_GroupBoxLabel;
                area = box->style()
                           ->subControlRect(QStyle::CC_GroupBox, &option,
                                            QStyle::SC_GroupBoxLabel, box)
                           .translated(area.topLeft());
            }
            const QRect device(QPoint(qRound(area.x() * ratio), qRound(area.y() * ratio)),
                               (QSizeF(area.size()) * ratio).toSize());
            const double contrast = TextContrast(window.copy(device));
            QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1 page: %2 has contrast %3")
                                                     .arg(APage, Describe(w))
                                                     .arg(contrast, 0, 'f', 2)));
        }
        for (QGroupBox *box : F->findChildren<QGroupBox *>()) {
            if (!Shown(box))
                continue;
            const QImage title = box->grab(QRect(0, 0, box->width(), 14)).toImage();
            QVERIFY2(TextContrast(title.convertToFormat(QImage::Format_RGB32)) >= 4.5,
                     qPrintable(APage + QStringLiteral(" page: title of ") + Describe(box)));
        }
    }

    void checkNothingClipped(const QString &APage)
    {
        const QList<QWidget *> shown = texts();
        for (QWidget *w : shown) {
            const QString what = APage + QStringLiteral(" page: ") + Describe(w);
            if (auto *l = qobject_cast<QLabel *>(w)) {
                if (l->wordWrap())
                    QVERIFY2(l->heightForWidth(l->width()) <= l->height(),
                             qPrintable(what + QStringLiteral(" needs %1 px, has %2")
                                                   .arg(l->heightForWidth(l->width()))
                                                   .arg(l->height())));
                else {
                    // The whole line, and the ink of its descenders.
                    const QFontMetrics fm = l->fontMetrics();
                    const int height = fm.ascent() + std::max(0, fm.boundingRect(l->text()).bottom() + 1);
                    QVERIFY2(l->sizeHint().width() <= l->width() && height <= l->height(),
                             qPrintable(what + QStringLiteral(" needs %1x%2, has %3x%4")
                                                   .arg(l->sizeHint().width())
                                                   .arg(height)
                                                   .arg(l->width())
                                                   .arg(l->height())));
                }
            }
            if (auto *b = qobject_cast<QPushButton *>(w)) {
                // The caption within the button's frame.
                QStyleOptionButton option;
                option.initFrom(b);
                option.text = b->text();
                const QRect contents =
                    b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
                const int needed = b->fontMetrics().horizontalAdvance(b->text().remove('&'));
                QVERIFY2(needed <= contents.width(),
                         qPrintable(what + QStringLiteral(" needs %1 px, has %2")
                                               .arg(needed)
                                               .arg(contents.width())));
            }
            if (auto *box = qobject_cast<QGroupBox *>(w))
                QVERIFY2(box->fontMetrics().horizontalAdvance(box->title()) + 16 <= box->width(),
                         qPrintable(what));
            // Inside what holds it.
            const QWidget *parent = w->parentWidget();
            if (parent && parent != F.get())
                QVERIFY2(parent->rect().contains(w->geometry()),
                         qPrintable(what + QStringLiteral(" leaves its parent %1")
                                               .arg(Describe(parent))));
        }
        // Texts, fields and pictures of one parent do not cover each other.
        QList<QWidget *> solid = shown;
        for (TImageKv *image : F->findChildren<TImageKv *>())
            if (Shown(image))
                solid << image;
        for (int i = 0; i < solid.size(); ++i)
            for (int j = i + 1; j < solid.size(); ++j) {
                QWidget *a = solid[i];
                QWidget *b = solid[j];
                if (a->parentWidget() != b->parentWidget() || a->isAncestorOf(b)
                    || b->isAncestorOf(a))
                    continue;
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(APage + QStringLiteral(" page: %1 and %2 overlap")
                                                .arg(Describe(a), Describe(b))));
            }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FHome.isValid());
        UseTemporaryHome(FHome.path());
        QDir().mkpath(FHome.path() + QStringLiteral("/Documents"));
        const QString env = UserEnvironmentFile();
        QDir().mkpath(QFileInfo(env).path());
        QFile f(env);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("OPENSSL_CONF=" + FHome.path().toLocal8Bit() + "/ssl/openssl.cnf\n");
        f.close();
        LoadSpanishTranslation(*qApp);
        const QString expected = qEnvironmentVariable("ZEDEDE_EXPECT_FONT");
        if (!expected.isEmpty())
            QCOMPARE(UserInterfaceFontFamily(), expected);
    }

    void init()
    {
        // As the program starts: the desktop's palette, then the program's look.
        QApplication::setPalette(QPalette());
        ApplyProgramLook(*qApp);
    }

    void textsAreReadable()
    {
        onEveryPage([this](const QString &APage) {
            checkReadable(APage);
            shot(APage);
        });
    }

    // A dark desktop theme in force before the window is built: the window
    // keeps its light look, every text as readable as before.
    void textsAreReadableOnADarkDesktop()
    {
        QApplication::setPalette(DarkDesktopPalette());
        FDarkDesktop = true;
        ApplyProgramLook(*qApp);
        onEveryPage([this](const QString &APage) {
            checkReadable(APage);
            shot(APage);
        });
        FDarkDesktop = false;
        QApplication::setPalette(QPalette());
    }

    void nothingIsClippedOrCovered()
    {
        onEveryPage([this](const QString &APage) { checkNothingClipped(APage); });
    }

    // The pictures are drawn for the screen: at a scale factor above 1 from
    // their twice-size versions, never enlarged pixel by pixel.
    void picturesMatchTheScreensScale()
    {
        F = std::make_unique<TfrmZeDede>();
        F->show();
        QVERIFY(QTest::qWaitForWindowExposed(F.get()));
        const qreal ratio = F->devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        const QPixmap tall = F->wizt->Picture()->Bitmap();
        QCOMPARE(tall.devicePixelRatio(), ratio);
        QCOMPARE(tall.width(), qRound(167 * ratio));
        QCOMPARE(F->wizt->Picture()->Width(), 167);
        QCOMPARE(F->wizt->Picture()->Height(), 485);
        QTest::mouseClick(F->wizt->NextButton, Qt::LeftButton);
        const QPixmap header = F->wizt->Picture()->Bitmap();
        QCOMPARE(header.devicePixelRatio(), ratio);
        QCOMPARE(F->wizt->ImageLogo->size(), QSize(39, 42));
        QCOMPARE(F->Image2->Picture()->Bitmap().devicePixelRatio(), ratio);
        {
            // Drawn transparently, the picture loses every pixel of its
            // bottom-left colour: only that corner may have it.
            const QImage image = tall.toImage();
            const QRgb corner = image.pixel(0, image.height() - 1);
            int shared = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    shared += image.pixel(x, y) == corner;
            QCOMPARE(shared, 1);
        }
        if (ratio > 1.0) {
            // A picture enlarged pixel by pixel repeats every pixel; the
            // drawing at twice the size does not.
            const QImage image = tall.toImage();
            int repeated = 0, pairs = 0;
            for (int y = 0; y + 1 < image.height(); y += 2)
                for (int x = 0; x + 1 < image.width(); x += 2, ++pairs)
                    repeated += image.pixel(x, y) == image.pixel(x + 1, y)
                                && image.pixel(x, y) == image.pixel(x, y + 1);
            QVERIFY2(repeated < pairs / 2, qPrintable(QStringLiteral("%1 of %2").arg(repeated).arg(pairs)));
        }
        QCOMPARE(F->windowIcon().availableSizes().size(), 6);
        F.reset();
    }
};

QTEST_MAIN(TestfrmZeDedeLook)
#include "tst_uZeDedeLook.moc"
