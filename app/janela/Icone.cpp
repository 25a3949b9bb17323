#include "app/janela/Icone.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// The logo's colours.
const QColor kFundoAlto(0x1d, 0x4e, 0x7e);
const QColor kFundoBaixo(0x0e, 0x2c, 0x4c);
const QColor kAzulBanco(0x5e, 0xb3, 0xec);
const QColor kAzulBancoEscuro(0x2a, 0x6f, 0xb0);
const QColor kLaranja(0xf0, 0x9a, 0x3e);
const QColor kLaranjaEscuro(0xa8, 0x5a, 0x12);
const QColor kVerde(0x2e, 0x9e, 0x5b);
const QColor kAmarelo(0xf5, 0xc8, 0x4c);

// A database: a cylinder of three stacked discs, in a box x, y, w, h (units of a 64 grid).
void Cilindro(QPainter& p, qreal x, qreal y, qreal w, qreal h, const QColor& cor,
              const QColor& contorno) {
    const qreal elipse = w * 0.32;
    QLinearGradient corpo(x, 0, x + w, 0);
    corpo.setColorAt(0, cor.darker(115));
    corpo.setColorAt(0.45, cor.lighter(120));
    corpo.setColorAt(1, cor.darker(130));
    QPainterPath lado;
    lado.moveTo(x, y + elipse / 2);
    lado.lineTo(x, y + h - elipse / 2);
    lado.arcTo(x, y + h - elipse, w, elipse, 180, 180);
    lado.lineTo(x + w, y + elipse / 2);
    lado.arcTo(x, y, w, elipse, 0, -180);
    p.setPen(QPen(contorno, 1.2));
    p.setBrush(corpo);
    p.drawPath(lado);
    // The seams between the discs.
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        const qreal yi = y + (h - elipse) * i / 3.0;
        p.drawArc(QRectF(x, yi, w, elipse), 180 * 16, 180 * 16);
    }
    p.setBrush(cor.lighter(140));
    p.drawEllipse(QRectF(x, y, w, elipse));
}

void Planilha(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb8), 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(x, y, w, h), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kVerde);
    p.drawRect(QRectF(x + 0.5, y + 0.5, w - 1, h * 0.2));
    p.setPen(QPen(QColor(0xb8, 0xc4, 0xd0), 0.8));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(x + 1, y + h * (0.2 + 0.2 * i)),
                   QPointF(x + w - 1, y + h * (0.2 + 0.2 * i)));
    p.drawLine(QPointF(x + w * 0.4, y + h * 0.2), QPointF(x + w * 0.4, y + h - 1));
}

void Seta(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
    QPainterPath s;
    s.moveTo(x, y + h * 0.3);
    s.lineTo(x + w * 0.55, y + h * 0.3);
    s.lineTo(x + w * 0.55, y);
    s.lineTo(x + w, y + h / 2);
    s.lineTo(x + w * 0.55, y + h);
    s.lineTo(x + w * 0.55, y + h * 0.7);
    s.lineTo(x, y + h * 0.7);
    s.closeSubpath();
    p.setPen(QPen(kAmarelo.darker(130), 0.8));
    p.setBrush(kAmarelo);
    p.drawPath(s);
}

}  // namespace

const std::vector<int>& LadosDoIcone() {
    static const std::vector<int> lados = {16, 22, 24, 32, 48, 64, 128, 256};
    return lados;
}

QImage DesenhaIcone(int lado) {
    QImage imagem(lado, lado, QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 64.0, lado / 64.0);

    QLinearGradient fundo(0, 0, 0, 64);
    fundo.setColorAt(0, kFundoAlto);
    fundo.setColorAt(1, kFundoBaixo);
    p.setPen(Qt::NoPen);
    p.setBrush(fundo);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);

    if (lado <= 24) {
        // Small sizes: only the arrow into the target, which still reads at 16 pixels.
        Seta(p, 6, 22, 22, 20);
        Cilindro(p, 30, 12, 26, 40, kAzulBanco, kAzulBancoEscuro);
        return imagem;
    }
    Planilha(p, 6, 8, 20, 22);
    Cilindro(p, 12, 28, 16, 22, kLaranja, kLaranjaEscuro);
    Seta(p, 26, 24, 14, 14);
    Cilindro(p, 38, 14, 20, 38, kAzulBanco, kAzulBancoEscuro);
    return imagem;
}

QIcon IconeDoPrograma() {
    QIcon icone;
    for (int lado : LadosDoIcone())
        icone.addPixmap(QPixmap::fromImage(DesenhaIcone(lado)));
    return icone;
}
