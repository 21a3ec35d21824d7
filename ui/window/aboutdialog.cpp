#include "ui/window/aboutdialog.h"

#include "ui/window/toolbaricons.h"

#include <QLabel>
#include <QPushButton>

namespace {

// Dialog units of an 8-point dialog font, in pixels.
constexpr double kUnitX = 1.5;
constexpr double kUnitY = 1.625;

QRect units(int x, int y, int w, int h) {
    return QRect(int(x * kUnitX), int(y * kUnitY), int(w * kUnitX), int(h * kUnitY));
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Orvane"));
    setFixedSize(units(0, 0, 235, 55).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setGeometry(QRect(units(11, 17, 0, 0).topLeft(), QSize(32, 32)));

    auto* text = new QLabel(tr("Orvane Version 1.0"), this);
    text->setGeometry(units(40, 10, 119, 8).adjusted(0, -2, 0, 4));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(units(178, 7, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
