#pragma once
// The splash screen: "SPLASH.BMP" from the sensors folder with the version
// text in its lower right corner, in a borderless window centred on the
// screen. Shown for four seconds at start-up and again as the about box; a
// click anywhere closes it.

#include <QDialog>
#include <QImage>
#include <string>

namespace tarvel {

class Messages;

inline constexpr int kSplashSeconds = 4;

// "2.92N Español" when the configuration came from the settings key, "2.92
// Español" when it came from the initialisation file.
QString splashVersionText(bool fromSettingsKey);

class TSplashDialog : public QDialog {
    Q_OBJECT
public:
    // Loads the picture; a picture that cannot be read, or has no colour
    // table, is reported through `messages` (and the first leaves the
    // splash empty).
    TSplashDialog(const std::string& sensorsDir, const QString& versionText, Messages& messages,
                  QWidget* parent = nullptr);

    bool hasPicture() const { return !picture_.isNull(); }
    QString versionText() const { return version_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void loadPicture(const std::string& sensorsDir, Messages& messages);

    QString version_;
    QImage picture_;
};

}  // namespace tarvel
