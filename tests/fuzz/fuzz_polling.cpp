// The input poll: "GET DIGITAL INPUT" cut into input records by the timer tick.

#include "Fuzz.h"
#include "island/Risposte.h"

#include <algorithm>

using namespace ondrix;
using namespace ondrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using V = std::vector<std::int16_t>;
    static const std::vector<V> moduli = {
        {16, 8}, {}, {50}, V(10, 8), V(11, 16), {0, 16}, {-3, 8}, {16, 16, 16, 8}, {51}, {32767}};
    const std::string_view R = testoDi(data, size);
    for (const V& n : moduli) {
        const LetturaIngressi l = LeggiStatiIngressi(R, n);
        FUZZ_CHECK(l.ingressi.size() <= static_cast<std::size_t>(MaxIngressi));
        FUZZ_CHECK(l.moduli >= 0 && l.moduli <= std::min<int>(static_cast<int>(n.size()), MaxModuli));
        // Rows follow each other from 1, each module's block whole.
        long attese = 0;
        for (int k = 0; k < l.moduli; ++k)
            attese += n[static_cast<std::size_t>(k)];
        FUZZ_CHECK(static_cast<long>(l.ingressi.size()) >= attese);
        for (std::size_t i = 0; i < l.ingressi.size(); ++i) {
            FUZZ_CHECK(l.ingressi[i].riga == static_cast<int>(i) + 1);
            FUZZ_CHECK(l.ingressi[i].stato >= -1 && l.ingressi[i].stato <= 1);
        }
        if (!l.interrotta)
            FUZZ_CHECK(static_cast<long>(l.ingressi.size()) == attese);

        Model m = modelloIsola();
        const Model prima = m;
        applicaIngressi(m, l);
        controllaModello(m, prima);
        FUZZ_CHECK(ingressiCoerenti(m));
    }
    return 0;
}
