#include "pdf/Pdf.h"

#include "config/File.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace ondrix {

namespace {

// The page, in millimetres.
constexpr double LarghezzaPagina = 210;
constexpr double AltezzaPagina = 297;
constexpr double Sinistra = 15;
constexpr double Destra = LarghezzaPagina - 15;
constexpr double Larghezza = Destra - Sinistra;
constexpr double Alto = 15;
constexpr double FondoContenuto = AltezzaPagina - 20;  // the footer below
constexpr double PuntoMm = 25.4 / 72;

// The picture's largest and smallest station: the island is drawn as large
// as its room on page 1 allows, and never so small that an index is lost.
constexpr double StazioneMassima = 11.0;
constexpr double StazioneMinima = 4.5;
constexpr double AltezzaIsola = 95.0;

// The table of coils.
constexpr double AltezzaRiga = 4.8;
constexpr double Colonne[] = {20, 24, 20, 70, 18, 28};  // body, position, index, state, relax, strokes
constexpr Qt::Alignment Allineamenti[] = {Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter,
                                          Qt::AlignLeft,    Qt::AlignHCenter, Qt::AlignRight};
constexpr int ColonnaStato = 3;

const QColor Inchiostro(0, 0, 0);
const QColor Tenue(90, 90, 90);
const QColor Bordo(60, 60, 60);
const QColor Vuoto(170, 170, 170);   // a coil place without a coil
const QColor Testata(215, 215, 215);
const QColor Alterna(242, 242, 242);
const QColor Avviso(200, 0, 0);

QColor qc(Rgb c) { return QColor(c.r, c.g, c.b); }
QString q(const std::string& s) { return QString::fromStdString(s); }

QFont carattere(double punti, bool grassetto = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

// The island's bodies in rows, right to left from the head (its connector
// block at the right edge), as the window draws every body: position 1
// beside the connectors.
struct Isola {
    double stazione = 0;  // width of one station (two coil places), mm
    std::vector<std::vector<std::size_t>> righe;

    double margine() const { return 0.2 * stazione; }
    double blocco() const { return 1.7 * stazione; }  // the head's connector block
    double altezzaCorpo() const { return 2 * stazione + 2 * margine(); }
    static constexpr double Titolo = 4.5;
    static constexpr double TraRighe = 3.0;
    static int colonne(const CorpoRapporto& c) { return std::clamp(c.posti, 1, 8); }
    double larghezza(const CorpoRapporto& c) const
    {
        return colonne(c) * stazione + 2 * margine() + (c.testa ? blocco() : 0);
    }
    double altezza() const
    {
        const double n = static_cast<double>(righe.size());
        return n * (Titolo + altezzaCorpo()) + std::max(0.0, n - 1) * TraRighe;
    }

    static constexpr double Fra = 1.0;  // between two bodies
    double larghezzaMassima = 0;       // of the widest row

    Isola(const std::vector<CorpoRapporto>& corpi, double s) : stazione(s)
    {
        double usato = 0;
        for (std::size_t k = 0; k < corpi.size(); ++k) {
            const double w = larghezza(corpi[k]);
            if (righe.empty() || usato + Fra + w > Larghezza) {
                righe.emplace_back();
                usato = 0;
            } else {
                usato += Fra;
            }
            righe.back().push_back(k);
            usato += w;
            larghezzaMassima = std::max(larghezzaMassima, usato);
        }
    }

    // The largest station whose picture fits its room.
    static Isola scelta(const std::vector<CorpoRapporto>& corpi)
    {
        for (double s = StazioneMassima; s > StazioneMinima; s -= 0.5) {
            Isola i(corpi, s);
            if (i.altezza() <= AltezzaIsola)
                return i;
        }
        return Isola(corpi, StazioneMinima);
    }
};

// Lays the report out, and draws it when it has a painter: run once without
// one to count the pages, then again to draw them.
class Disegno {
public:
    Disegno(const Rapporto& r, QPdfWriter& w, QPainter* p, int pagine, Impaginazione* imp)
        : r_(r), w_(w), p_(p), pagine_(pagine), imp_(imp), res_(w.resolution())
    {
        if (imp_) {
            imp_->bobine.assign(r.corpi.size(), {});
            for (std::size_t k = 0; k < r.corpi.size(); ++k)
                imp_->bobine[k].assign(r.corpi[k].bobine.size(), {});
        }
        piede();
    }

    int pagine() const { return pagina_ + 1; }

    void tutto()
    {
        intestazione();
        isola();
        legenda(r_.legenda, true);
        moduli();
        avvisi();
        tabella();
    }

private:
    // ---- Units and primitives -------------------------------------------
    double u(double mm) const { return mm * res_ / 25.4; }
    double mm(double unita) const { return unita * 25.4 / res_; }
    QRectF box(double x, double y, double w, double h) const { return {u(x), u(y), u(w), u(h)}; }

    double altezzaTesto(const QFont& f, double w, const QString& t) const
    {
        const QFontMetricsF fm(f, &w_);
        return mm(fm.boundingRect(QRectF(0, 0, u(w), u(1000)), Qt::TextWordWrap, t).height());
    }
    double larghezzaTesto(const QFont& f, const QString& t) const
    {
        return mm(QFontMetricsF(f, &w_).horizontalAdvance(t));
    }
    double riga(const QFont& f) const { return mm(QFontMetricsF(f, &w_).height()); }

    void testo(double x, double y, double w, double h, const QString& t, const QFont& f, int flags,
               const QColor& c = Inchiostro)
    {
        if (!p_)
            return;
        p_->setFont(f);
        p_->setPen(c);
        p_->drawText(box(x, y, w, h), flags, t);
    }
    void riquadro(double x, double y, double w, double h, const QColor& pieno, const QColor& bordo,
                  double spessore = 0.2)
    {
        if (!p_)
            return;
        p_->setPen(bordo.isValid() ? QPen(bordo, u(spessore)) : QPen(Qt::NoPen));
        p_->setBrush(pieno.isValid() ? QBrush(pieno) : QBrush(Qt::NoBrush));
        p_->drawRect(box(x, y, w, h));
    }
    void cerchio(double x, double y, double d, const QColor& pieno)
    {
        if (!p_)
            return;
        p_->setPen(QPen(Bordo, u(0.2)));
        p_->setBrush(pieno);
        p_->drawEllipse(box(x, y, d, d));
    }
    void linea(double x0, double y0, double x1, double y1, const QColor& c, double spessore)
    {
        if (!p_)
            return;
        p_->setPen(QPen(c, u(spessore)));
        p_->drawLine(QPointF(u(x0), u(y0)), QPointF(u(x1), u(y1)));
    }
    Posto posto(double x, double y, double w, double h) const { return {pagina_, x, y, w, h}; }

    // ---- Pages ----------------------------------------------------------
    void spazio(double h)
    {
        if (y_ + h > FondoContenuto && y_ > Alto)
            nuovaPagina();
    }
    void nuovaPagina()
    {
        if (p_)
            w_.newPage();
        ++pagina_;
        y_ = Alto;
        piede();
    }
    void piede()
    {
        const QFont f = carattere(7.5);
        const double y = AltezzaPagina - 14;
        linea(Sinistra, y, Destra, y, Tenue, 0.15);
        testo(Sinistra, y + 1, Larghezza * 0.7, 5, q(r_.sottotitolo + " - " + r_.titolo), f,
              Qt::AlignLeft | Qt::AlignTop, Tenue);
        const QString n = q(r_.pagina)
                              .replace(QStringLiteral("{N}"), QString::number(pagina_ + 1))
                              .replace(QStringLiteral("{TOT}"), QString::number(pagine_));
        testo(Sinistra, y + 1, Larghezza, 5, n, f, Qt::AlignRight | Qt::AlignTop, Tenue);
    }

    // ---- Page 1 ---------------------------------------------------------
    void intestazione()
    {
        const QFont titolo = carattere(17, true), sotto = carattere(10);
        const double h1 = riga(titolo);
        testo(Sinistra, y_, Larghezza, h1, q(r_.titolo), titolo, Qt::AlignLeft | Qt::AlignTop);
        y_ += h1;
        const double h2 = riga(sotto);
        testo(Sinistra, y_, Larghezza, h2, q(r_.sottotitolo), sotto, Qt::AlignLeft | Qt::AlignTop, Tenue);
        y_ += h2 + 1.5;
        linea(Sinistra, y_, Destra, y_, Inchiostro, 0.3);
        y_ += 3;

        const QFont et = carattere(9, true), va = carattere(9);
        double we = 0;
        for (const Etichettato& v : r_.intestazione)
            we = std::max(we, larghezzaTesto(et, q(v.etichetta)));
        we = std::min(we + 4, Larghezza / 2);
        for (const Etichettato& v : r_.intestazione) {
            const double h = std::max(altezzaTesto(et, we, q(v.etichetta)),
                                      altezzaTesto(va, Larghezza - we, q(v.valore)));
            spazio(h);
            testo(Sinistra, y_, we, h, q(v.etichetta), et, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
            testo(Sinistra + we, y_, Larghezza - we, h, q(v.valore), va,
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
            y_ += h + 0.8;
        }
        y_ += 5;
    }

    void isola()
    {
        const Isola isola = Isola::scelta(r_.corpi);
        const double s = isola.stazione;
        const QFont titolo = carattere(7.5, true);
        for (const auto& fila : isola.righe) {
            spazio(Isola::Titolo + isola.altezzaCorpo());
            const double alto = y_ + Isola::Titolo;
            // The rows end at one edge, the widest in the middle of the page.
            double destra = Destra - (Larghezza - isola.larghezzaMassima) / 2;
            for (std::size_t k : fila) {
                const CorpoRapporto& c = r_.corpi[k];
                const double larga = isola.larghezza(c);
                const double sinistra = destra - larga;
                testo(sinistra, y_, larga, Isola::Titolo - 0.8,
                      QFontMetricsF(titolo, &w_).elidedText(q(c.titolo), Qt::ElideRight, u(larga)), titolo,
                      Qt::AlignHCenter | Qt::AlignBottom);
                double bordoCorpo = destra;  // right edge of the body proper
                if (c.testa) {
                    bordoCorpo -= isola.blocco();
                    connettori(bordoCorpo, alto, isola);
                }
                riquadro(sinistra, alto, bordoCorpo - sinistra, isola.altezzaCorpo(), qc(colore::Grigio), Bordo,
                         0.25);
                bobine(c, k, bordoCorpo - isola.margine(), alto + isola.margine(), s);
                destra = sinistra - Isola::Fra;
            }
            y_ = alto + isola.altezzaCorpo() + Isola::TraRighe;
        }
        y_ += 2;
    }

    // The head's connector block: the fieldbus connector (red when the bus
    // is terminated), the serial port and the supply.
    void connettori(double x, double y, const Isola& isola)
    {
        const double w = isola.blocco(), h = isola.altezzaCorpo();
        riquadro(x, y, w, h, qc(colore::Grigio), Bordo, 0.25);
        const double grande = std::min(w * 0.7, h * 0.3), piccolo = grande * 0.55;
        const double cx = x + w / 2;
        const double bus = y + h * 0.08;
        cerchio(cx - grande / 2, bus, grande, qc(r_.connettoreFieldbus));
        cerchio(cx - piccolo / 2, y + (h - piccolo) / 2, piccolo, Inchiostro);
        cerchio(cx - grande / 2, y + h * 0.92 - grande, grande, Inchiostro);
        if (imp_)
            imp_->connettoreFieldbus = posto(cx - grande / 2, bus, grande, grande);
    }

    // The body's coil places, right to left from its right edge: a station
    // is a column, odd positions below, even above.
    void bobine(const CorpoRapporto& c, std::size_t k, double destra, double alto, double s)
    {
        const double lato = 0.74 * s, dentro = (s - lato) / 2;
        const auto dove = [&](int posizione) {
            const int i = posizione - 1;
            return QPointF(destra - (i / 2 + 1) * s + dentro, alto + (i % 2 == 0 ? s : 0) + dentro);
        };
        const int posti = 2 * Isola::colonne(c);
        for (int pos = 1; pos <= posti; ++pos) {
            const QPointF at = dove(pos);
            riquadro(at.x(), at.y(), lato, lato, qc(colore::Grigio), Vuoto, 0.15);
        }
        for (std::size_t j = 0; j < c.bobine.size(); ++j) {
            const BobinaRapporto& b = c.bobine[j];
            if (b.posizione < 1 || b.posizione > posti)
                continue;  // no place for it on the body
            const QPointF at = dove(b.posizione);
            riquadro(at.x(), at.y(), lato, lato, qc(b.colore), Bordo, 0.2);
            testo(at.x(), at.y(), lato, lato, q(b.caption), carattere(lato * 0.45 / PuntoMm, b.relax),
                  Qt::AlignCenter);
            if (imp_)
                imp_->bobine[k][j] = posto(at.x(), at.y(), lato, lato);
        }
    }

    // Coloured squares with their words, side by side, on as many lines as
    // they need; the coils' legend ends with the relax words, normal and bold.
    void legenda(const std::vector<VoceLegenda>& voci, bool relax)
    {
        const QFont f = carattere(8), g = carattere(8, true);
        const double lato = 3.6, h = std::max(lato, riga(f)), fra = 6;
        double x = Sinistra;
        spazio(h);
        const auto posa = [&](double larga) {
            if (x > Sinistra && x + larga > Destra) {
                x = Sinistra;
                y_ += h + 1.5;
                spazio(h);
            }
            const double at = x;
            x += larga + fra;
            return at;
        };
        for (const VoceLegenda& v : voci) {
            const QString t = q(v.testo);
            const double at = posa(lato + 1.5 + larghezzaTesto(f, t));
            riquadro(at, y_ + (h - lato) / 2, lato, lato, qc(v.colore), Bordo, 0.2);
            testo(at + lato + 1.5, y_, Destra - at, h, t, f, Qt::AlignLeft | Qt::AlignVCenter);
        }
        if (relax) {
            const QString no = q(r_.relaxNo), sep = QStringLiteral("  /  "), si = q(r_.relaxSi);
            const double wNo = larghezzaTesto(f, no), wSep = larghezzaTesto(f, sep);
            const double at = posa(wNo + wSep + larghezzaTesto(g, si));
            testo(at, y_, Destra - at, h, no, f, Qt::AlignLeft | Qt::AlignVCenter);
            testo(at + wNo, y_, Destra - at, h, sep, f, Qt::AlignLeft | Qt::AlignVCenter);
            testo(at + wNo + wSep, y_, Destra - at, h, si, g, Qt::AlignLeft | Qt::AlignVCenter);
        }
        y_ += h + 6;
    }

    void moduli()
    {
        if (r_.moduli.empty())
            return;
        const QFont titolo = carattere(10, true), f = carattere(8.5), n = carattere(6.5);
        spazio(riga(titolo) + 12);
        testo(Sinistra, y_, Larghezza, riga(titolo), q(r_.titoloIngressi), titolo, Qt::AlignLeft | Qt::AlignTop);
        y_ += riga(titolo) + 1.5;
        constexpr double Lato = 5.2, Fra = 1.0;
        for (const ModuloRapporto& m : r_.moduli) {
            spazio(riga(f) + Lato + 4);
            testo(Sinistra, y_, Larghezza, riga(f), q(m.titolo), f, Qt::AlignLeft | Qt::AlignTop);
            y_ += riga(f) + 1;
            double x = Sinistra;
            for (const IngressoRapporto& i : m.ingressi) {
                riquadro(x, y_, Lato, Lato, qc(i.colore), Bordo, 0.2);
                testo(x, y_, Lato, Lato, q(i.caption), n, Qt::AlignCenter);
                x += Lato + Fra;
            }
            y_ += Lato + 3;
        }
        y_ += 1;
        legenda(r_.legendaIngressi, false);
    }

    void avvisi()
    {
        if (!r_.avvisoAlimentazione.empty()) {
            const QFont f = carattere(9.5, true);
            const double h = altezzaTesto(f, Larghezza, q(r_.avvisoAlimentazione));
            spazio(h);
            testo(Sinistra, y_, Larghezza, h, q(r_.avvisoAlimentazione), f,
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Avviso);
            y_ += h + 2;
        }
        const QFont f = carattere(8.5);
        for (const std::string& a : r_.avvisi) {
            const double h = altezzaTesto(f, Larghezza, q(a));
            spazio(h);
            testo(Sinistra, y_, Larghezza, h, q(a), f, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
            y_ += h + 2;
        }
    }

    // ---- The table of coils -----------------------------------------------
    void testataTabella()
    {
        const QFont f = carattere(8, true);
        riquadro(Sinistra, y_, Larghezza, AltezzaRiga + 0.5, Testata, QColor());
        double x = Sinistra;
        for (std::size_t c = 0; c < r_.colonne.size() && c < std::size(Colonne); ++c) {
            testo(x + 1.5, y_, Colonne[c] - 3, AltezzaRiga + 0.5, q(r_.colonne[c]), f,
                  static_cast<int>(Allineamenti[c] | Qt::AlignVCenter));
            x += Colonne[c];
        }
        y_ += AltezzaRiga + 0.5;
    }

    void tabella()
    {
        nuovaPagina();
        testataTabella();
        const QFont f = carattere(8);
        int n = 0;
        for (const CorpoRapporto& c : r_.corpi) {
            for (const BobinaRapporto& b : c.bobine) {
                if (y_ + AltezzaRiga > FondoContenuto) {
                    nuovaPagina();
                    testataTabella();
                }
                if (n++ % 2 == 1)
                    riquadro(Sinistra, y_, Larghezza, AltezzaRiga, Alterna, QColor());
                double x = Sinistra;
                for (std::size_t k = 0; k < b.riga.size() && k < std::size(Colonne); ++k) {
                    double dentro = 1.5;
                    if (k == ColonnaStato) {
                        const double lato = 3.0;
                        riquadro(x + dentro, y_ + (AltezzaRiga - lato) / 2, lato, lato, qc(b.colore), Bordo, 0.15);
                        dentro += lato + 1.5;
                    }
                    testo(x + dentro, y_, Colonne[k] - dentro - 1.5, AltezzaRiga, q(b.riga[k]), f,
                          static_cast<int>(Allineamenti[k] | Qt::AlignVCenter));
                    x += Colonne[k];
                }
                y_ += AltezzaRiga;
            }
            // Bodies parted by a line.
            linea(Sinistra, y_, Destra, y_, Tenue, 0.15);
        }
    }

    const Rapporto& r_;
    QPdfWriter& w_;
    QPainter* p_;
    int pagine_;
    Impaginazione* imp_;
    double res_;
    int pagina_ = 0;
    double y_ = Alto;
};

} // namespace

std::string pdfRapporto(const Rapporto& r, Impaginazione* impaginazione)
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QPdfWriter w(&out);
    w.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                QPageLayout::Millimeter));
    w.setTitle(q(r.titolo + " - " + r.sottotitolo));
    w.setCreator(QStringLiteral("ondrix-configuratore"));

    Disegno conta(r, w, nullptr, 0, nullptr);
    conta.tutto();
    QPainter p(&w);
    p.setRenderHint(QPainter::Antialiasing);
    Disegno disegno(r, w, &p, conta.pagine(), impaginazione);
    disegno.tutto();
    p.end();
    if (impaginazione)
        impaginazione->pagine = disegno.pagine();
    return bytes.toStdString();
}

std::optional<std::string> scriviPdf(const Rapporto& r, const std::string& file, Impaginazione* impaginazione)
{
    return scriviFileSicuro(file, pdfRapporto(r, impaginazione));
}

} // namespace ondrix
