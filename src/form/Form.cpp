#include "form/Form.h"

namespace ondrix {

Control& Form::add(std::string name, int index, Kind kind, Control* container, int left, int top,
                   int width, int height)
{
    owned_.push_back(std::make_unique<Control>(*this, std::move(name), index, kind, container, left,
                                               top, width, height));
    controls_.push_back(owned_.back().get());
    return *owned_.back();
}

Control& Form::make(std::string name, Kind kind, Control* container, int left, int top, int width,
                    int height, std::string caption)
{
    Control& c = add(std::move(name), -1, kind, container, left, top, width, height);
    c.setCaption(std::move(caption));
    return c;
}

// clang-format off
Form::Form()
    : PROFIBUS(make("PROFIBUS", Kind::Label, nullptr, 600, 360, 4215, 615, "INDIRIZZO SLAVE: ")),
      Label1(make("Label1", Kind::Label, nullptr, 600, 720, 2655, 375, "ELENCO INGRESSI:")),
      Combo2(make("Combo2", Kind::ComboBox, nullptr, 600, 1080, 2535, 420)),
      OptInput(make("OptInput", Kind::OptionButton, nullptr, 3240, 1080, 495, 375)),
      Label2(make("Label2", Kind::Label, nullptr, 600, 1560, 2655, 375, "ELENCO ESPANSIONI:")),
      Combo1(make("Combo1", Kind::ComboBox, nullptr, 600, 1920, 2535, 420)),
      OptOutput(make("OptOutput", Kind::OptionButton, nullptr, 3240, 1920, 495, 375)),
      CmdPAddress(make("CmdPAddress", Kind::Button, nullptr, 4440, 240, 1695, 615, "CAMBIA INDIRIZZO")),
      CmdTerminazione(make("CmdTerminazione", Kind::Button, nullptr, 4440, 960, 1695, 615, "INSERISCI TERMINAZIONE")),
      CmdBootloader(make("CmdBootloader", Kind::Button, nullptr, 6480, 240, 1695, 615, "BOOTLOADER")),
      Software(make("Software", Kind::Label, nullptr, 6480, 960, 4935, 375, "VERSIONE SOFTWARE:  ")),
      PIC(make("PIC", Kind::Label, nullptr, 6480, 1440, 4815, 375, "VERSIONE FIRMWARE PIC: ")),
      ATMEL(make("ATMEL", Kind::Label, nullptr, 6480, 1920, 4815, 375, "VERSIONE FIRMWARE ATMEL: ")),
      Image1(make("Image1", Kind::Image, nullptr, 10680, 120, 1260, 960)),
      FrmBaudRate(make("FrmBaudRate", Kind::Frame, nullptr, 3600, 1800, 3375, 4095, "BAUD RATE ")),
      Option1{},
      CmdBaudRate(make("CmdBaudRate", Kind::Button, &FrmBaudRate, 1080, 3480, 1215, 495, "OK")),
      Frame2(make("Frame2", Kind::Frame, nullptr, 0, 2520, 11895, 5415)),
      Corpo8Posti(make("Corpo8Posti", Kind::Shape, &Frame2, 6480, 360, 4215, 2415)),
      Corpo4Posti(make("Corpo4Posti", Kind::Shape, &Frame2, 8400, 360, 2295, 2415)),
      Corpo2Posti(make("Corpo2Posti", Kind::Shape, &Frame2, 9360, 360, 1335, 2415)),
      CorpoConnettori(make("CorpoConnettori", Kind::Shape, &Frame2, 10680, 360, 735, 2415)),
      ConnettoreProfibus(make("ConnettoreProfibus", Kind::Shape, &Frame2, 10800, 600, 615, 495)),
      ConnettoreSeriale(make("ConnettoreSeriale", Kind::Shape, &Frame2, 10920, 1440, 375, 255)),
      ConnettoreAlimentazione(make("ConnettoreAlimentazione", Kind::Shape, &Frame2, 10800, 2040, 615, 495)),
      Bobina{},
      Shape6{},
      Shape1(make("Shape1", Kind::Shape, &Frame2, 600, 240, 495, 495)),
      Shape2(make("Shape2", Kind::Shape, &Frame2, 600, 720, 495, 495)),
      Shape3(make("Shape3", Kind::Shape, &Frame2, 600, 1200, 495, 495)),
      Shape4(make("Shape4", Kind::Shape, &Frame2, 600, 1680, 495, 495)),
      Shape5(make("Shape5", Kind::Shape, &Frame2, 600, 2160, 495, 495)),
      Label3(make("Label3", Kind::Label, &Frame2, 1200, 360, 4815, 375, "BOBINA PRESENTE ATTIVATA")),
      Label4(make("Label4", Kind::Label, &Frame2, 1200, 840, 4815, 375, "BOBINA PRESENTE NON ATTIVATA")),
      Label5(make("Label5", Kind::Label, &Frame2, 1200, 1320, 4815, 375, "BOBINA ASSENTE")),
      Label6(make("Label6", Kind::Label, &Frame2, 1200, 1800, 4815, 375, "BOBINA PRESENTE DISABILITATA")),
      Label7(make("Label7", Kind::Label, &Frame2, 1200, 2280, 4815, 375, "BOBINA GUASTA")),
      Label8(make("Label8", Kind::Label, &Frame2, 1200, 2760, 2775, 375, "RELAX NON ATTIVO  /")),
      Label9(make("Label9", Kind::Label, &Frame2, 3840, 2760, 2175, 375, "RELAX ATTIVO")),
      LblAlimentazione(make("LblAlimentazione", Kind::Label, &Frame2, 6480, 2760, 4455, 735, "ATTENZIONE! MANCA L'ALIMENTAZIONE ALLE VALVOLE")),
      CmdReset(make("CmdReset", Kind::Button, &Frame2, 600, 3480, 1695, 615, "RESETTA")),
      CmdDisableAll(make("CmdDisableAll", Kind::Button, &Frame2, 3360, 3480, 1695, 615, "DISABILITA TUTTO")),
      CmdRelax(make("CmdRelax", Kind::Button, &Frame2, 5040, 3480, 1695, 615, "ATTIVA RELAX")),
      CmdAziona(make("CmdAziona", Kind::Button, &Frame2, 6720, 3480, 1695, 615, "ATTIVA BOBINA")),
      CmdAll(make("CmdAll", Kind::Button, &Frame2, 8400, 3480, 1695, 615, "ATTIVA TUTTO")),
      CmdAbilita(make("CmdAbilita", Kind::Button, &Frame2, 10080, 3480, 1695, 615, "ABILITA BOBINA")),
      CmdSalva(make("CmdSalva", Kind::Button, &Frame2, 600, 4080, 1695, 615, "SALVA CONFIGURAZIONE")),
      CmdAzzera(make("CmdAzzera", Kind::Button, &Frame2, 3360, 4200, 1695, 615, "AZZERA COLPI")),
      CmdCarica(make("CmdCarica", Kind::Button, &Frame2, 600, 4680, 1695, 615, "CARICA CONFIGURAZIONE")),
      CmdEsci(make("CmdEsci", Kind::Button, &Frame2, 6720, 4680, 1695, 615, "ESCI")),
      TxtColpi(make("TxtColpi", Kind::TextBox, &Frame2, 3360, 4800, 2175, 435)),
      Frame1(make("Frame1", Kind::Frame, nullptr, 0, 2520, 11895, 4575)),
      Corpo16In(make("Corpo16In", Kind::Shape, &Frame1, 5880, 720, 5535, 2415)),
      DInput{},
      ConnettoreInput{},
      Shape8(make("Shape8", Kind::Shape, &Frame1, 600, 840, 495, 495)),
      Shape7(make("Shape7", Kind::Shape, &Frame1, 600, 1320, 495, 495)),
      Shape9(make("Shape9", Kind::Shape, &Frame1, 600, 1800, 495, 495)),
      Label11(make("Label11", Kind::Label, &Frame1, 1200, 960, 4215, 375, "INGRESSO ATTIVATO")),
      Label10(make("Label10", Kind::Label, &Frame1, 1200, 1440, 4455, 375, "INGRESSO NON ATTIVATO")),
      Label12(make("Label12", Kind::Label, &Frame1, 1200, 1920, 4455, 375, "INGRESSO DISABILITATO")),
      CmdAddressIn(make("CmdAddressIn", Kind::Button, &Frame1, 7440, 3600, 2175, 615, "MODIFICA INDIRIZZI")),
      HScroll1(make("HScroll1", Kind::HScrollBar, nullptr, 0, 8400, 7000, 255)),
      VScroll1(make("VScroll1", Kind::VScrollBar, nullptr, 11640, 0, 255, 5000)),
      Frame3(make("Frame3", Kind::Frame, nullptr, 7200, 8160, 255, 255)),
      Timer1(make("Timer1", Kind::Timer, nullptr, 0, 0, 0, 0))
// clang-format on
{
    addArrays();
    setDesignProperties();
}

// The control arrays; they come after the single controls in the list of controls.
void Form::addArrays()
{
    for (int k = 0; k < 8; ++k) {
        Option1[k] = &add("Option1", k, Kind::OptionButton, &FrmBaudRate, 600, 360 + 360 * k, 2175, 375);
        Option1[k]->setCaption("Option1");
    }
    for (int i = 0; i < 16; ++i) {
        int col = i / 2;
        int top = (i % 2 == 0) ? 1920 : 840;
        Bobina[i] = &add("Bobina", i, Kind::Button, &Frame2, 10080 - 480 * col, top, 375, 375);
        Bobina[i]->setCaption(std::to_string(i + 1));
        Bobina[i]->setBackColor(colore::Grigio);
        Bobina[i]->setBold(false);
        Bobina[i]->setEnabled(false);
    }
    for (int i = 0; i < 16; ++i) {
        int col = i / 2;
        int top = (i % 2 == 0) ? 1920 : 840;
        Shape6[i] = &add("Shape6", i, Kind::Shape, &Frame2, 9960 - 480 * col, top, 615, 375);
        Shape6[i]->setShape(ShapeKind::Outline);
        Shape6[i]->setBorderColor(colore::Rosso);
        Shape6[i]->setBorderWidthPx(8);
        Shape6[i]->setVisible(false);
    }
    static const int inLeft[8] = {6000, 6360, 6960, 7320, 7920, 8280, 8880, 9240};
    for (int i = 0; i < 16; ++i) {
        DInput[i] = &add("DInput", i, Kind::Button, &Frame1, inLeft[i % 8], i < 8 ? 1560 : 1920, 375, 255);
        DInput[i]->setCaption(std::to_string(i + 1));
        DInput[i]->setBackColor(colore::Giallo);
        DInput[i]->setVisible(false);
    }
    static const int cLeft[4] = {6000, 6960, 7920, 8880};
    for (int i = 0; i < 11; ++i) {
        int l, t, w = 615, h = 495;
        if (i < 4) { l = cLeft[i]; t = 960; }
        else if (i < 8) { l = cLeft[i - 4]; t = 2280; }
        else if (i == 8) { l = 10560; t = 2280; }
        else { l = 9720; t = (i == 9) ? 1080 : 2400; h = 255; }
        ConnettoreInput[i] = &add("ConnettoreInput", i, Kind::Shape, &Frame1, l, t, w, h);
        ConnettoreInput[i]->setShape(ShapeKind::FilledCircle);
        ConnettoreInput[i]->setFillColor(colore::Nero);
        ConnettoreInput[i]->setVisible(false);
    }
}

// The properties the design gives the controls beyond their place and caption.
void Form::setDesignProperties()
{
    // Labels: transparent, white text on the dark green window.
    for (Control* c : controls_)
        if (c->kind() == Kind::Label) {
            c->setTransparent(true);
            c->setForeColor(colore::Bianco);
        }
    Label8.setBold(false);
    LblAlimentazione.setForeColor(colore::Giallo);
    LblAlimentazione.setVisible(false);

    Combo2.setEnabled(false);
    OptInput.setTransparent(true);
    OptOutput.setTransparent(true);
    OptOutput.setValue(true);
    CmdBootloader.setVisible(false);
    FrmBaudRate.setVisible(false);
    for (Control* o : Option1)
        o->setBackColor(colore::Pannello);

    Frame2.setBackColor(colore::VerdeScuro);
    Frame1.setBackColor(colore::VerdeScuro);
    Frame1.setVisible(false);
    Frame3.setBackColor(colore::Pannello);

    for (Control* s : {&Corpo8Posti, &Corpo4Posti, &Corpo2Posti, &CorpoConnettori, &Corpo16In}) {
        s->setFillColor(colore::Grigio);
        s->setVisible(false);
    }
    for (Control* s : {&ConnettoreProfibus, &ConnettoreSeriale, &ConnettoreAlimentazione}) {
        s->setShape(ShapeKind::FilledCircle);
        s->setFillColor(colore::Nero);
        s->setVisible(false);
    }
    Shape1.setFillColor(colore::Verde);
    Shape2.setFillColor(colore::Arancio);
    Shape3.setFillColor(colore::Grigio);
    Shape4.setFillColor(colore::GialloPallido);
    Shape5.setFillColor(colore::Rosso);
    Shape8.setFillColor(colore::Verde);
    Shape7.setFillColor(colore::Giallo);
    Shape9.setFillColor(colore::GialloPallido);

    CmdRelax.setEnabled(false);
    CmdAziona.setEnabled(false);
    CmdAbilita.setEnabled(false);
    CmdAzzera.setVisible(false);
    TxtColpi.setText("100000");
    TxtColpi.setBackColor(colore::Bianco);
    TxtColpi.setVisible(false);

    Timer1.setInterval(500);
}

void Form::setCaption(std::string v)
{
    if (caption_ == v)
        return;
    caption_ = std::move(v);
    notify(nullptr);
}

void Form::setGeometry(int left, int top, int width, int height)
{
    if (left_ == left && top_ == top && width_ == width && height_ == height)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    notify(nullptr);
}

void Form::setFrameSize(int widthTwips, int heightTwips)
{
    frameWidth_ = widthTwips;
    frameHeight_ = heightTwips;
}

} // namespace ondrix
