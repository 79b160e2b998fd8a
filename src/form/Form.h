#pragma once
// Form1: the whole control set of the configurator's window with its design
// geometry (twips), captions, colours, visibility and enabled state. Control
// arrays are indexed from 0. Handlers work on this object; the Qt window only
// mirrors it.

#include "form/Control.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ondrix {

class Form {
public:
    Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The window itself: caption and outer geometry in twips (screen coordinates).
    const std::string& caption() const { return caption_; }
    void setCaption(std::string v);
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }    // outer width
    int height() const { return height_; }  // outer height
    void setGeometry(int left, int top, int width, int height);
    // Client (inside) size in twips = outer size less the borders and title bar.
    int clientWidth() const { return width_ - frameWidth_; }
    int clientHeight() const { return height_ - frameHeight_; }
    // Borders and title bar in twips (set from the host's screen at load).
    void setFrameSize(int widthTwips, int heightTwips);
    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }

    // Every control in the order of the window's control collection.
    const std::vector<Control*>& controls() const { return controls_; }

    // Observer of every change (the Qt window). Window-level changes
    // (caption, geometry) are reported with a null control.
    using Observer = std::function<void(Control*)>;
    void setObserver(Observer o) { observer_ = std::move(o); }
    void notify(Control* c)
    {
        if (observer_)
            observer_(c);
    }

    // Window state of the layout (kept with the window).
    int AltezzaProgetto = 0;
    int AltezzaBarraVerticale = 0;
    int LarghezzaProgetto = 0;
    int LarghezzaBarraOrizzontale = 0;
    int UltimoValoreOrizzontale = 0;
    int UltimoValoreVerticale = 0;
    bool LayoutPronto = false;

    // The file name the file dialog holds from its previous use (save or load).
    std::string NomeFile;

private:
    Control& add(std::string name, int index, Kind kind, Control* container, int left, int top,
                 int width, int height);
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    Observer observer_;
    std::string caption_ = "ONDRIX - CONFIGURATORE";
    int left_ = 0, top_ = 0, width_ = 12000, height_ = 9000;
    int frameWidth_ = 120, frameHeight_ = 405;

public:
    // Design: 12000 x 9000 twips outer, client 11880 x 8595.
    static constexpr int DesignWidth = 12000;
    static constexpr int DesignHeight = 9000;

    // Header of the window.
    Control& PROFIBUS;
    Control& Label1;
    Control& Combo2;
    Control& OptInput;
    Control& Label2;
    Control& Combo1;
    Control& OptOutput;
    Control& CmdPAddress;
    Control& CmdTerminazione;
    Control& CmdBootloader;
    Control& Software;
    Control& PIC;
    Control& ATMEL;
    Control& Image1;

    // Baud-rate frame.
    Control& FrmBaudRate;
    std::array<Control*, 8> Option1;
    Control& CmdBaudRate;

    // Output panel.
    Control& Frame2;
    Control& Corpo8Posti;
    Control& Corpo4Posti;
    Control& Corpo2Posti;
    Control& CorpoConnettori;
    Control& ConnettoreProfibus;
    Control& ConnettoreSeriale;
    Control& ConnettoreAlimentazione;
    std::array<Control*, 16> Bobina;
    std::array<Control*, 16> Shape6;
    Control& Shape1;
    Control& Shape2;
    Control& Shape3;
    Control& Shape4;
    Control& Shape5;
    Control& Label3;
    Control& Label4;
    Control& Label5;
    Control& Label6;
    Control& Label7;
    Control& Label8;
    Control& Label9;
    Control& LblAlimentazione;
    Control& CmdReset;
    Control& CmdDisableAll;
    Control& CmdRelax;
    Control& CmdAziona;
    Control& CmdAll;
    Control& CmdAbilita;
    Control& CmdSalva;
    Control& CmdAzzera;
    Control& CmdCarica;
    Control& CmdEsci;
    Control& TxtColpi;

    // Input panel.
    Control& Frame1;
    Control& Corpo16In;
    std::array<Control*, 16> DInput;
    std::array<Control*, 11> ConnettoreInput;
    Control& Shape8;
    Control& Shape7;
    Control& Shape9;
    Control& Label11;
    Control& Label10;
    Control& Label12;
    Control& CmdAddressIn;

    // Scroll bars, corner and timer.
    Control& HScroll1;
    Control& VScroll1;
    Control& Frame3;
    Control& Timer1;

private:
    // Builders used while the members above are initialised.
    Control& make(std::string name, Kind kind, Control* container, int left, int top, int width,
                  int height, std::string caption = {});
    // The rest of the design, once the members above are there.
    void addArrays();
    void setDesignProperties();
};

} // namespace ondrix
