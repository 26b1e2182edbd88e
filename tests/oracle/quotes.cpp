// The quote pass pairs double quotes in order and drops those around numbers, colours and listed words.
#include "tests/oracle/quotes.h"

#include "engine/attribute_values.h"

namespace qm::oracle {
namespace {

constexpr auto npos = UnitText::npos;

// Only bytes can make a number, a colour or a listed word.
bool AsBytes(const UnitText& value, std::string& bytes)
{
    bytes.clear();
    for (Unit u : value) {
        if (u > 0xFF) return false;
        bytes.push_back(static_cast<char>(u));
    }
    return true;
}

bool InAlignList(const std::string& value, const EngineData& data)
{
    UnitText lower = Lower(Widen(value));
    for (const std::string& word : data.alignWords)
        if (Lower(Widen(word)) == lower) return true;
    return false;
}

// What may follow an unquoted value without becoming part of it.
bool EndsUnquotedValue(const UnitText& text, std::size_t at)
{
    if (at >= text.size()) return true;
    Unit u = text[at];
    return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '>';
}

// Where an attribute's name cannot reach back past.
bool BoundsAttributeName(Unit u)
{
    return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '<' || u == '>' || u == '"' || u > 0xFF;
}

} // namespace

void DelKav(Page& page, const PassContext& context)
{
    {
        UnitText& text = page.text;
        MarkerRestorer restore(text, {{kKeptQuote, '"'}});
        std::string value;
        for (std::size_t p = text.find(U'"'); p != npos; p = text.find(U'"')) {
            std::size_t q = text.find(U'"', p + 1);
            if (q == npos) {
                // A quote without a partner pairs with nothing and changes nothing.
                text[p] = kKeptQuote;
                continue;
            }
            // Only a value written right after "=" belongs to an attribute; quotes
            // in body text or style sheets are what the reader sees.
            const bool attributeValue = p >= 1 && text[p - 1] == '=';
            const bool empty = q == p + 1;
            if (empty && attributeValue && context.options.flag(Opt::cbDelEmptyPar)) {
                std::size_t s = p - 1;
                while (s > 1 && !BoundsAttributeName(text[s])) --s;
                std::string name;
                for (std::size_t k = s + 1; k + 1 < p; ++k) name.push_back(static_cast<char>(LowerUnit(text[k])));
                if (EmptyValueMeansNothing(name) && InsideTag(text, p, q)) {
                    text.erase(s + 1, q - s);
                    continue;
                }
            }
            bool bytes = AsBytes(text.substr(p + 1, q - p - 1), value);
            bool safe = bytes &&
                ((!value.empty() && IsNum(value)) || Ishex(value) ||
                    (!value.empty() && InAlignList(value, context.data)));
            if (safe && attributeValue && EndsUnquotedValue(text, q + 1) && InsideTag(text, p, q)) {
                text.erase(q, 1);
                text.erase(p, 1);
            } else {
                text[p] = kKeptQuote;
                text[q] = kKeptQuote;
            }
        }
    }
    page.refreshMirror();
}

} // namespace qm::oracle
