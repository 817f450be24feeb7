#include "ProgramLook.h"

#include "UserInterfaceFont.h"
#include "ZeDedeArt.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifndef ZEDEDE_APP_ID
#error "ZEDEDE_APP_ID must be defined by the build"
#endif

QPalette ClassicPalette()
{
    QPalette p;
    const struct
    {
        QPalette::ColorRole Role;
        QColor Active;
        QColor Disabled;
    } roles[] = {
        {QPalette::Window, QColor(240, 240, 240), QColor(240, 240, 240)},
        {QPalette::WindowText, Qt::black, QColor(120, 120, 120)},
        {QPalette::Base, Qt::white, QColor(240, 240, 240)},
        {QPalette::AlternateBase, QColor(245, 245, 245), QColor(245, 245, 245)},
        {QPalette::ToolTipBase, QColor(255, 255, 225), QColor(255, 255, 225)},
        {QPalette::ToolTipText, Qt::black, Qt::black},
        {QPalette::PlaceholderText, QColor(110, 110, 110), QColor(120, 120, 120)},
        {QPalette::Text, Qt::black, QColor(120, 120, 120)},
        {QPalette::Button, QColor(240, 240, 240), QColor(240, 240, 240)},
        {QPalette::ButtonText, Qt::black, QColor(120, 120, 120)},
        {QPalette::BrightText, Qt::white, Qt::white},
        {QPalette::Light, Qt::white, Qt::white},
        {QPalette::Midlight, QColor(227, 227, 227), QColor(227, 227, 227)},
        {QPalette::Mid, QColor(160, 160, 160), QColor(160, 160, 160)},
        {QPalette::Dark, QColor(160, 160, 160), QColor(160, 160, 160)},
        {QPalette::Shadow, QColor(105, 105, 105), QColor(105, 105, 105)},
        {QPalette::Highlight, QColor(0, 120, 215), QColor(204, 204, 204)},
        {QPalette::HighlightedText, Qt::white, QColor(120, 120, 120)},
        {QPalette::Link, Qt::blue, QColor(120, 120, 120)},
        {QPalette::LinkVisited, QColor(128, 0, 128), QColor(120, 120, 120)},
    };
    for (const auto &r : roles) {
        p.setColor(QPalette::Active, r.Role, r.Active);
        p.setColor(QPalette::Inactive, r.Role, r.Active);
        p.setColor(QPalette::Disabled, r.Role, r.Disabled);
    }
    return p;
}

void ApplyClassicPalette(QApplication &AApp)
{
    AApp.setPalette(ClassicPalette());
}

QIcon ProgramIcon()
{
    // Carried as ready-to-draw pixels: nothing is decoded, and no image
    // reader (with its search for format plugins) is needed at start-up.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QImage image = ZeDedeArtImage(QByteArray("icon" + QByteArray::number(size)).constData());
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void ApplyProgramLook(QApplication &AApp)
{
    ApplyUserInterfaceFont(AApp);
    ApplyClassicPalette(AApp);
    AApp.setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(ZEDEDE_APP_ID));
}

void ApplyUserInterfaceFont(QApplication &AApp)
{
    AApp.setFont(UserInterfaceFont());
}

bool LoadSpanishTranslation(QApplication &AApp)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    auto *translator = new QTranslator(&AApp);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // The program's own copy first (the Windows program carries one).
    if (!translator->load(QStringLiteral("qtbase_es"), QStringLiteral(":/translations"))
        && !translator->load(QStringLiteral("qtbase_es"), dir)
        && !translator->load(QStringLiteral("qtbase_es"),
                             QStringLiteral("/usr/share/qt6/translations"))) {
        delete translator;
        return false;
    }
    AApp.installTranslator(translator);
    return true;
}
