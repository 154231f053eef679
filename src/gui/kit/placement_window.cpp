#include "gui/kit/placement_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vokari::ui {
namespace {

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w->screen();
    return s ? s : QGuiApplication::primaryScreen();
}

int toPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twipsToPixels(twips, dpi)));
}

} // namespace

WidgetPlacement::WidgetPlacement(QWidget* window, QString name)
    : window_(window), name_(std::move(name)) {}

std::string WidgetPlacement::placementName() const {
    return name_.toStdString();
}

double WidgetPlacement::dpi() const {
    const QScreen* s = screenOf(window_);
    const double d = s ? s->logicalDotsPerInchY() : 96.0;
    return d > 0 ? d : 96.0;
}

// The position is the frame's, which is what move() places. The size is the inside of the
// window: the frame is only known once the window has been shown, so a size taken with the
// frame and restored before the first show would grow the window by its title bar every time.
double WidgetPlacement::heightTwips() const {
    return pixelsToTwips(window_->height(), dpi());
}
double WidgetPlacement::widthTwips() const {
    return pixelsToTwips(window_->width(), dpi());
}
double WidgetPlacement::topTwips() const {
    return pixelsToTwips(window_->pos().y(), dpi());
}
double WidgetPlacement::leftTwips() const {
    return pixelsToTwips(window_->pos().x(), dpi());
}

void WidgetPlacement::setHeightTwips(double height) {
    window_->resize(window_->width(), std::max(1, toPixels(height, dpi())));
}

void WidgetPlacement::setWidthTwips(double width) {
    window_->resize(std::max(1, toPixels(width, dpi())), window_->height());
}

void WidgetPlacement::moveTwips(double left, double top) {
    window_->move(toPixels(left, dpi()), toPixels(top, dpi()));
}

double WidgetPlacement::screenWidthTwips() const {
    const QScreen* s = screenOf(window_);
    return pixelsToTwips(s ? s->geometry().width() : 1024, dpi());
}

double WidgetPlacement::screenHeightTwips() const {
    const QScreen* s = screenOf(window_);
    return pixelsToTwips(s ? s->geometry().height() : 768, dpi());
}

void restorePlacement(QWidget* window, const QString& name, bool restoreSize) {
    WidgetPlacement placement(window, name);
    restoreWindowPlacement(placement, restoreSize);
}

void savePlacement(QWidget* window, const QString& name) {
    WidgetPlacement placement(window, name);
    saveWindowPlacement(placement);
}

} // namespace vokari::ui
