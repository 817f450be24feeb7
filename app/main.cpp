#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("ZeDede"));
    window.resize(709, 533);
    window.show();
    return app.exec();
}
