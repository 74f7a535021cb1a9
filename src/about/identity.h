#pragma once

#include <QFont>
#include <QIcon>
#include <QString>

class QColor;
class QLabel;
class QWidget;

// What the splash and About windows say about the product: its names, the
// credits, the lines of Tamil they show, and the application icon.
namespace tk::about {

// A playful display face for the product's Latin name (Debian's
// fonts-cabinsketch); Qt falls back to the default face when it is missing.
inline constexpr char decorativeFamily[] = "Cabin Sketch";
QFont decorativeFont(int pointSize);

// A Tamil display font, never letter-spaced.
QFont tamilFont(const char* family, int pointSize);

// A label of the splash or About window, named as its control.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, const QColor& colour);

// Display-font codes of a Unicode Tamil text, for labels shown in a Tamil
// display font.
QString tamilCodes(const char* utf8);

// "Tamil Kalvem" in Tamil script, as display-font codes.
QString productNameCodes();
QString creditsText();

// The application icon, set on every window of the program.
QIcon applicationIcon();

} // namespace tk::about
