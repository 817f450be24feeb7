#include "Recipes.h"

#include "Painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage Canvas(int AWidth, int AHeight)
{
    QImage image(AWidth, AHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Primitive(QPainter &APainter, const QString &ASpec, double X, double Y, int ASize)
{
    QStringList parts = ASpec.split(QLatin1Char(':'));
    const QString name = parts.takeFirst();
    APainter.save();
    APainter.translate(X, Y);
    DrawPrimitive(APainter, name, parts, ASize);
    APainter.restore();
}

void Panel(QPainter &APainter, const QRectF &ARect, const QColor &ATop, const QColor &ABottom, double ARadius)
{
    QLinearGradient g(ARect.topLeft(), ARect.bottomLeft());
    g.setColorAt(0, ATop);
    g.setColorAt(1, ABottom);
    APainter.setBrush(g);
    APainter.setPen(QPen(ABottom.darker(140), 1));
    APainter.drawRoundedRect(ARect.adjusted(0.5, 0.5, -0.5, -0.5), ARadius, ARadius);
}

void Label(QPainter &APainter, const QRectF &ARect, const QString &AText, int APixel, const QColor &AColor,
           int AFlags = Qt::AlignLeft | Qt::AlignVCenter, bool ABold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(APixel);
    font.setBold(ABold);
    APainter.setFont(font);
    APainter.setPen(AColor);
    APainter.drawText(ARect, AFlags, AText);
}

// A sunken edit frame as the toolkit draws one.
void Edit(QPainter &APainter, const QRectF &ARect)
{
    APainter.setPen(QPen(QColor("#888a85"), 1));
    APainter.setBrush(Qt::white);
    APainter.drawRect(ARect.adjusted(0.5, 0.5, -0.5, -0.5));
}

void DropButton(QPainter &APainter, const QRectF &ARect)
{
    Panel(APainter, ARect, QColor("#f4f4f2"), QColor("#d3d7cf"), 1);
    const QPointF c = ARect.center();
    APainter.setBrush(QColor("#2e3436"));
    APainter.setPen(Qt::NoPen);
    APainter.drawPolygon(QPolygonF({c + QPointF(-3.5, -1.5), c + QPointF(3.5, -1.5), c + QPointF(0, 2.5)}));
}

QImage ControlPreview(TImageEnum AImageEnum, int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Panel(p, QRectF(0, 0, W, H), QColor("#fafaf9"), QColor("#e6e6e3"), 6);
    const QColor text("#2e3436");
    switch (AImageEnum) {
    case ieControlTextBox:
        Label(p, QRectF(10, 10, W - 20, 16), QStringLiteral("Nombre"), 11, text);
        Edit(p, QRectF(10, 28, W - 20, 20));
        Label(p, QRectF(14, 28, W - 28, 20), QStringLiteral("Texto libre"), 11, text);
        p.setPen(QPen(text, 1));
        p.drawLine(QPointF(80.5, 32), QPointF(80.5, 44));
        Edit(p, QRectF(10, 54, W - 50, 18));
        break;
    case ieControlNumBox:
        Label(p, QRectF(10, 10, W - 20, 16), QStringLiteral("Importe"), 11, text);
        Edit(p, QRectF(10, 28, W - 36, 22));
        Label(p, QRectF(14, 28, W - 46, 22), QStringLiteral("1.234,56"), 12, text, Qt::AlignRight | Qt::AlignVCenter);
        Panel(p, QRectF(W - 26, 28, 16, 11), QColor("#f4f4f2"), QColor("#d3d7cf"), 1);
        Panel(p, QRectF(W - 26, 39, 16, 11), QColor("#f4f4f2"), QColor("#d3d7cf"), 1);
        p.setBrush(text);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(W - 22, 36), QPointF(W - 14, 36), QPointF(W - 18, 31)}));
        p.drawPolygon(QPolygonF({QPointF(W - 22, 42), QPointF(W - 14, 42), QPointF(W - 18, 47)}));
        Label(p, QRectF(10, 56, W - 20, 16), QStringLiteral("0 a 99.999,99"), 10, QColor("#888a85"));
        break;
    case ieControlCheckBox:
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(12, 10 + i * 22);
            DrawPrimitive(p, QStringLiteral("check"), {i == 1 ? QStringLiteral("unchecked") : QStringLiteral("checked")}, 18);
            p.restore();
            Label(p, QRectF(36, 10 + i * 22, W - 40, 18),
                  i == 0 ? QStringLiteral("Activo") : i == 1 ? QStringLiteral("Exento") : QStringLiteral("Imprimir"), 11, text);
        }
        break;
    case ieControlDateTime: {
        Label(p, QRectF(10, 6, W - 20, 14), QStringLiteral("Fecha"), 11, text);
        Edit(p, QRectF(10, 20, W - 20, 20));
        Label(p, QRectF(14, 20, W - 40, 20), QStringLiteral("15/03/2024"), 11, text);
        DropButton(p, QRectF(W - 28, 21, 17, 18));
        // The open month below.
        const QRectF cal(34, 42, W - 44, 34);
        p.setPen(QPen(QColor("#888a85"), 1));
        p.setBrush(Qt::white);
        p.drawRect(cal.adjusted(0.5, 0.5, -0.5, -0.5));
        p.fillRect(QRectF(cal.left() + 1, cal.top() + 1, cal.width() - 2, 8), QColor("#3465a4"));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                p.fillRect(QRectF(cal.left() + 4 + x * 11, cal.top() + 12 + y * 7, 7, 4),
                           x == 4 && y == 1 ? QColor("#f57900") : QColor("#babdb6"));
        break;
    }
    case ieControlOptionBox:
        p.setPen(QPen(QColor("#888a85"), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(6.5, 10.5, W - 13, H - 17), 3, 3);
        p.fillRect(QRectF(14, 4, 52, 12), QColor("#f2f2f0"));
        Label(p, QRectF(16, 3, 60, 14), QStringLiteral("Opciones"), 11, text);
        for (int i = 0; i < 3; ++i) {
            const QPointF c(22, 28 + i * 18);
            p.setPen(QPen(QColor("#555753"), 1));
            p.setBrush(Qt::white);
            p.drawEllipse(c, 6, 6);
            if (i == 0) {
                p.setBrush(QColor("#3465a4"));
                p.setPen(Qt::NoPen);
                p.drawEllipse(c, 3, 3);
            }
            Label(p, QRectF(34, c.y() - 8, W - 40, 16),
                  i == 0 ? QStringLiteral("Contado") : i == 1 ? QStringLiteral("Crédito") : QStringLiteral("Cheque"), 11, text);
        }
        break;
    case ieControlComboBox:
        Edit(p, QRectF(10, 8, W - 20, 20));
        Label(p, QRectF(14, 8, W - 40, 20), QStringLiteral("Buenos Aires"), 11, text);
        DropButton(p, QRectF(W - 28, 9, 17, 18));
        p.setPen(QPen(QColor("#888a85"), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(10.5, 28.5, W - 21, 44));
        p.fillRect(QRectF(11, 30, W - 22, 14), QColor("#3465a4"));
        Label(p, QRectF(14, 30, W - 30, 14), QStringLiteral("Buenos Aires"), 11, Qt::white);
        Label(p, QRectF(14, 44, W - 30, 14), QStringLiteral("Córdoba"), 11, text);
        Label(p, QRectF(14, 58, W - 30, 14), QStringLiteral("Mendoza"), 11, text);
        break;
    default:
        break;
    }
    return image;
}

QImage ChartPreview(TImageEnum AImageEnum, int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Panel(p, QRectF(0, 0, W, H), QColor("#ffffff"), QColor("#eeeeec"), 6);
    const int s = qMin(W, H) - 16;
    const char *kind = "column";
    switch (AImageEnum) {
    case ieChartLine: kind = "line"; break;
    case ieChartBar: kind = "bar"; break;
    case ieChartArea: kind = "area"; break;
    case ieChartBarCir: kind = "pie"; break;
    case ieChartLineMarker: kind = "marker"; break;
    default: break;
    }
    Primitive(p, QStringLiteral("chart:") + QLatin1String(kind), (W - s) / 2.0, (H - s) / 2.0, s);
    if (AImageEnum == ieChartCaracteristicas) {
        Panel(p, QRectF(W * 0.45, H * 0.4, W * 0.5, H * 0.55), QColor("#ffffff"), QColor("#d3d7cf"), 3);
        for (int i = 0; i < 4; ++i) {
            p.fillRect(QRectF(W * 0.5, H * (0.47 + i * 0.11), W * 0.1, H * 0.06), QColor("#888a85"));
            p.fillRect(QRectF(W * 0.64, H * (0.47 + i * 0.11), W * 0.26, H * 0.06),
                       i == 1 ? QColor("#f57900") : QColor("#babdb6"));
        }
    }
    return image;
}

QImage WizardPicture(const TPictureSource &ASource, TImageEnum AImageEnum, int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Panel(p, QRectF(0, 0, W, H), QColor("#ffffff"), QColor("#c9daf0"), 8);
    // Soft rings behind the symbol.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(QColor(52, 101, 164, 22 + i * 10));
        p.drawEllipse(QPointF(W * 0.5, H * 0.52), H * (0.5 - i * 0.12), H * (0.5 - i * 0.12));
    }
    const int s = qRound(H * 0.78);
    p.drawImage(QPointF((W - s) / 2.0, (H - s) / 2.0 + 2), ASource.Render(PictureRecipe(AImageEnum), s, s));
    return image;
}

QImage DiscountBanner(const TPictureSource &ASource, TImageEnum AImageEnum, int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Panel(p, QRectF(0, 0, W, H), QColor("#fff6d5"), QColor("#fcaf3e"), 6);
    Primitive(p, QStringLiteral("starburst:%"), 4, (H - 38) / 2.0, 38);
    if (AImageEnum == ieVentasPromocionDescuentoArticulo)
        p.drawImage(QPointF(W - 36, (H - 32) / 2.0), ASource.ThemeIcon(QStringLiteral("package-x-generic"), 32));
    Label(p, QRectF(46, 4, W - 50 - (AImageEnum == ieVentasPromocionDescuentoArticulo ? 34 : 0), H - 8),
          AImageEnum == ieVentasPromocionDescuentoArticulo ? QStringLiteral("-15%") : QStringLiteral("-10 %\ntodo"),
          AImageEnum == ieVentasPromocionDescuentoArticulo ? 13 : 15, QColor("#a40000"), Qt::AlignCenter, true);
    return image;
}

QImage TableRow(int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int s = H;
    for (int i = 0; i < 4; ++i)
        Primitive(p, i % 2 ? QStringLiteral("table:rect") : QStringLiteral("table:circle"), 2 + i * (W - 4 - s) / 3.0,
                  0, s);
    return image;
}

QImage PosPicture(const TPictureSource &ASource, TImageEnum AImageEnum, int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Panel(p, QRectF(0, 0, W, H), QColor("#ffffff"), QColor("#dde7f3"), 10);
    const int s = W - 40;
    Primitive(p, QStringLiteral("pos"), 20, AImageEnum == ieFondosPOSIntegrado ? 16 : (H - s) / 2.0, s);
    if (AImageEnum == ieFondosPOSIntegrado) {
        p.setPen(QPen(QColor("#2e3436"), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath cable;
        cable.moveTo(W * 0.5, s + 14);
        cable.cubicTo(W * 0.5, H - 40, W * 0.2, H - 70, W * 0.28, H - 54);
        p.drawPath(cable);
        p.drawImage(QPointF(W * 0.28, H - 78), ASource.ThemeIcon(QStringLiteral("computer"), 64));
    }
    return image;
}

QImage PaymentForms(int W, int H)
{
    QImage image = Canvas(W, H);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Panel(p, QRectF(0, 0, W, H), QColor("#ffffff"), QColor("#e6f2d9"), 10);
    Primitive(p, QStringLiteral("banknote"), W * 0.04, H * 0.02, qRound(W * 0.62));
    Primitive(p, QStringLiteral("cheque"), W * 0.36, H * 0.16, qRound(W * 0.6));
    Primitive(p, QStringLiteral("card"), W * 0.08, H * 0.36, qRound(W * 0.6));
    Primitive(p, QStringLiteral("coin"), W * 0.58, H * 0.6, qRound(W * 0.34));
    return image;
}

} // namespace

QImage BigPicture(const TPictureSource &ASource, TImageEnum AImageEnum, int AWidth, int AHeight)
{
    switch (AImageEnum) {
    case ieControlTextBox: case ieControlNumBox: case ieControlCheckBox:
    case ieControlDateTime: case ieControlOptionBox: case ieControlComboBox:
        return ControlPreview(AImageEnum, AWidth, AHeight);
    case ieChartColumn: case ieChartLine: case ieChartBar: case ieChartArea:
    case ieChartBarCir: case ieChartLineMarker: case ieChartCaracteristicas:
        return ChartPreview(AImageEnum, AWidth, AHeight);
    case ieVentasPromocionDescuentoGeneral: case ieVentasPromocionDescuentoArticulo:
        return DiscountBanner(ASource, AImageEnum, AWidth, AHeight);
    case ieConjuntoMesas:
        return TableRow(AWidth, AHeight);
    case ieFondosActPOSTarjetas: case ieFondosPOSIntegrado:
        return PosPicture(ASource, AImageEnum, AWidth, AHeight);
    case ieVentasFormasHabitualesPagosBig:
        return PaymentForms(AWidth, AHeight);
    default:
        return WizardPicture(ASource, AImageEnum, AWidth, AHeight);
    }
}

QImage LogoPicture(TImageEnum AImageEnum, int AWidth, int AHeight)
{
    QImage image(AWidth, AHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int mark = AHeight - 8;
    const int n = AImageEnum == ieLogoDramel ? 0 : AImageEnum == ieLogoKorvo ? 3 : 2;
    Primitive(p, QStringLiteral("mark:%1").arg(n), 6, 4, mark);
    // An abstract word mark: two rounded strokes in the mark's colour family.
    const QColor colours[] = {QColor("#204a87"), QColor("#5c3566"), QColor("#ce5c00")};
    const QColor colour = colours[AImageEnum == ieLogoDramel ? 0 : AImageEnum == ieLogoKorvo ? 1 : 2];
    const double x = 12 + mark;
    const double w = AWidth - x - 8;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(x, AHeight * 0.28, w, AHeight * 0.22), AHeight * 0.11, AHeight * 0.11);
    p.setBrush(QColor("#888a85"));
    p.drawRoundedRect(QRectF(x, AHeight * 0.6, w * 0.62, AHeight * 0.12), AHeight * 0.06, AHeight * 0.06);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(x + w * 0.7 + i * AHeight * 0.22, AHeight * 0.66), AHeight * 0.06, AHeight * 0.06);
    return image;
}
