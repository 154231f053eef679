#pragma once

#include "frame/settings_file.h"

#include <QString>

class QWidget;

// Window placement for Qt windows: twips in the settings file, pixels on the screen through
// the screen's logical DPI. Call restore from the window's load (before it is shown) and save
// from its unload.
namespace vokari::ui {

class WidgetPlacement : public PlacementWindow {
public:
    WidgetPlacement(QWidget* window, QString name);
    std::string placementName() const override;
    double heightTwips() const override;
    double widthTwips() const override;
    double topTwips() const override;
    double leftTwips() const override;
    void setHeightTwips(double height) override;
    void setWidthTwips(double width) override;
    void moveTwips(double left, double top) override;
    double screenWidthTwips() const override;
    double screenHeightTwips() const override;

private:
    double dpi() const;
    QWidget* window_;
    QString name_;
};

void restorePlacement(QWidget* window, const QString& name, bool restoreSize);
void savePlacement(QWidget* window, const QString& name);

} // namespace vokari::ui
