#pragma once
// The configurator's window: one widget per control of the Form, kept equal
// to it through the Form's observer, and the user's events forwarded to the
// handlers through Eventi. Nothing here decides anything: what a click does
// is the handlers' business, what a widget shows is the control's.

#include <QTimer>
#include <QWidget>

#include <unordered_map>

namespace ondrix {

struct Configuratore;
class Control;

class MainWindow : public QWidget {
public:
    explicit MainWindow(Configuratore& c, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The widget that shows a control (null for the timer).
    QWidget* widget(const Control& ctl) const;
    // The timer that runs Timer1.
    const QTimer& timer() const { return timer_; }
    // Twips per pixel the design is laid out with.
    double twipsPerPixelX() const { return tppX_; }
    double twipsPerPixelY() const { return tppY_; }
    // The base font of every caption.
    static QFont captionFont(double twipsPerPixelY);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // The service report, also offered by Ctrl+P.
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rapporto();
    void create(Control& ctl);
    void stack();
    // Tab goes through the controls in the design's reading order.
    void tabOrder();
    // Scrolls a control the keyboard reached into the part of the design shown.
    void reveal(QWidget* w);
    void changed(Control* ctl);
    void sync(Control& ctl);
    void syncWindow();
    // Tooltips and names of the coil or input buttons after ctl changed.
    void describe(const Control& ctl);
    void syncTimer(const Control& ctl);
    QRect pixels(const Control& ctl) const;
    QSize clientPixels() const;
    // Takes the window's real frame into the Form; true when it changed.
    bool learnFrame();
    // A frame that changed leaves the outer size and gives the inside the rest.
    void followFrame();
    // Runs an event handler, then shows the control again as the Form has it
    // (an event dropped while a dialogue runs leaves the widget as it was).
    template <typename F>
    void forward(Control& ctl, F&& event);

    Configuratore& c_;
    double tppX_ = 15.0, tppY_ = 15.0;
    QFont font_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    QTimer timer_;
    int mirroring_ = 0;
};

} // namespace ondrix
