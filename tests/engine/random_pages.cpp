// Random pages, option sets and tag lists built from what breaks page optimizers.
#include "tests/engine/random_pages.h"

#include <sstream>

namespace qm::test {
namespace {

const char* const kNames[] = {"p", "P", "b", "a", "em", "EM", "strong", "Strong", "font", "basefont", "script",
    "SCRIPT", "style", "cfif", "CFSET", "cfoutput", "!doctype", "!DOCTYPE", "/p", "/P", "/strong", "/script", "/style",
    "td", "/td", "li", "meta", "img", "code", "x", "strongest", "cf", "div", "pre", "PRE", "/pre", "textarea", "title",
    "/title", "xmp", "br", "span", "/span", "ul", "table", "TD", "/cfif", "p=", "pre\t"};

const char* const kAttributeNames[] = {"name", "NAME", "width", "align", "alt", "title", "class", "content", "src",
    "href", "color", "onclick", "cf", "style", "x", "id", "ID", "lang", "value", "checked", "onLoad", "on"};

const char* const kValues[] = {"50", "100%", "%", "-5", "1.5", "50px", "5%0", "#ff0000", "#FFF", "#FF00FF00", "center",
    "CENTER", "left", "a b", "", "generator", "keywords", "x>y", "a<b", "<font>", "script", "/script", "?>", "%>",
    "<?x", "<!-- c -->", "!--", "--", "a = b", "> <", "< ", " >", "&nbsp;&nbsp;", "&nbsp;&nbsp;&nbsp;", "a  b", "\t",
    "strong", "\\", "\\\\", "style", "#include", "cf x", "\xC3\xA4", "\xA4", "\x98"};

const char* const kTagTexts[] = {"!doctype", "name=\"generator\"", "name=\"keywords\"", "NAME=\"author\"", "/P", "/Li",
    "/td", "strong", "em", "font", "p", "b", "a", "x y", "\"x", "<", ">", "=", "cf", "script", "style", "\\", "name=x",
    "STRONG", "\xC3\xA4", "-", "!--", " ", "title=\"<font>\""};

const char* const kReplacements[] = {
    "b", "i", "tt", "ul", "s", "b b", "strong", "a", "B", "x y", "", "\"", "<p", "p>", "em", "STRONG", " ", "\xC3\xA4"};

} // namespace

std::string RandomPages::word()
{
    static const char* const kWords[] = {"hello", "World", "a", "x", "strong", "em", "font", "script", "style", "cf",
        "cfx", "!--", "--", "-->", "&nbsp;", "&NBSP;", "&nbsp;&nbsp;", "=", "\\", "\"", "'", "<", ">", "?", "%",
        "/script", "#include", "#echo", "name=\"generator\"", "p", "b", "\xC3\xA4\xC3\xB6", "\xD0\x9F\xD1\x80",
        "\xE4\xBD\xA0\xE5\xA5\xBD", "\xF0\x9F\x8E\x89", "\x89\x8A\x9A\x9F", "\xA4\xA5\xA6\xAC\xAF\x98", "<?", "?>",
        "<%", "%>", "\x08"};
    return pick(kWords);
}

std::string RandomPages::spaces()
{
    static const char* const kSpaces[] = {
        " ", "  ", "   ", "\t", " \t ", "\r\n", "\n", "\r", "\r\n\r\n", "\n\r", " \r\n ", "\r\n\t\t", "  \r\n  \r\n"};
    return pick(kSpaces);
}

std::string RandomPages::oddBytes()
{
    std::string bytes;
    for (std::size_t k = 1 + below(4); k > 0; --k) bytes.push_back(static_cast<char>(0x80 + below(0x80)));
    return bytes;
}

std::string RandomPages::quotedValue()
{
    std::string value = "\"";
    if (chance(70)) {
        value += pick(kValues);
    } else {
        for (std::size_t k = below(4); k > 0; --k) value += chance(50) ? word() : spaces();
    }
    if (chance(5)) value += "\\\"" + word();
    if (!chance(5)) value += "\"";
    return value;
}

std::string RandomPages::attribute()
{
    std::string text = pick(kAttributeNames);
    if (chance(10)) return text;
    if (chance(20)) text += pick({" ", "  ", "\t"});
    text += "=";
    if (chance(20)) text += pick({" ", "  ", "\t"});
    text += chance(75) ? quotedValue() : std::string(pick(kValues));
    return text;
}

std::string RandomPages::tag()
{
    std::string text = "<";
    if (chance(10)) text += pick({" ", "  ", "\t"});
    text += pick(kNames);
    for (std::size_t k = below(4); k > 0; --k) {
        text += chance(85) ? std::string(pick({" ", " ", "  ", "\t", "\r\n", "\n"})) : std::string();
        text += chance(90) ? attribute() : tagText();
    }
    if (chance(15)) text += pick({" ", "  ", "\t", "/"});
    if (!chance(5)) text += ">";
    return text;
}

std::string RandomPages::tagText() { return pick(kTagTexts); }

void RandomPages::piece(std::string& out)
{
    switch (below(19)) {
    case 18: { // text shown as written, tags that swallow spaces or not, words that look like tags
        static const char* const kShown[] = {"<pre>", "</pre>", "<PRE class=\"a>b\">  x\t y\r\n</PRE>",
            "<textarea> a  b </textarea>", "<title>a <!-- b --> c</title>", "<pre title='</pre>'>z</pre>",
            "<xmp><b></xmp>", "<listing>", "<plaintext>", "<!-- <pre> -->", "<style>em { } p b{x:var(--i)}</style>",
            "<style>/* <pre> */</style>", "<br> <b>", "</span> <span>", "<li> <i>", "a\tb", "a\t\tb", "\t<b>\t",
            "2.8 = x", "a < b > c", "</cf x>", "<</cfx>cf y>", "Set width=\"50\" here", "<p>shell script ok</p>",
            "<a href=\"\" class=\"\">", "<p\tclass=\"\">"};
        out += pick(kShown);
        break;
    }
    case 17: { // a tag text split around a whole tag of its own: removing that tag joins it again
        std::string text = tagText();
        std::size_t k = text.size() > 1 ? 1 + below(text.size() - 1) : 0;
        out += "<p " + text.substr(0, k) + "<" + text + pick({" x>", ">", " \"a>b\">"}) + text.substr(k) +
            pick({" y>", ">", "\t>", " "});
        break;
    }
    case 0:
    case 1:
    case 2:
        out += tag();
        break;
    case 3:
    case 4:
        out += word();
        break;
    case 5:
        out += spaces();
        break;
    case 6: { // comments of every shape
        static const char* const kComments[] = {"<!-- note -->", "<!---->", "<!-- one -- two -->", "<!--#include x-->",
            "<!-- #echo var=\"A\" -->", "<!-- style -->", "<!-- <script>f()</script> -->", "<!-- unterminated ",
            "!-- no bracket -->", "<!-- \"quoted --\" -->", "<!-- a=\"style\" -->", "<!-- <?php x ?> -->",
            "<style><!-- p { } --></style>", "<STYLE type=\"text/css\">\r\n<!--\r\nb { }\r\n-->\r\n</STYLE>", "<!--x--",
            "<!-- --> -->", "<!--#INCLUDE file=a-->"};
        out += pick(kComments);
        break;
    }
    case 7: { // scripts
        static const char* const kScripts[] = {"<script>a  =  \"b\";</script>",
            "<SCRIPT LANGUAGE=\"JavaScript\">x</SCRIPT>", "<script>document.write(\"<\\/script>\");</script>",
            "<script\tsrc=x>y</script>", "<script src=\"a.js\">", "</script>", "<script>var s = \"/script>\";</script>",
            "<script>\r\n\tif (a < b) {}\r\n</script>", "x script>", "<p script >", "<script>a<!-- b --></script>",
            "<script>"};
        out += pick(kScripts);
        break;
    }
    case 8: { // server code
        static const char* const kCode[] = {"<?php echo \"?>\"; ?>", "<?>", "<? x", "<?xml version=\"1.0\"?>",
            "<% y %>", "<%= \"%>\" %>", "<% z", "<a href=\"<?= $u ?>\">", "?>", "%>"};
        out += pick(kCode);
        break;
    }
    case 9: { // ColdFusion
        static const char* const kCf[] = {"<cfset x = 1>", "<CFIF a>", "</cfif>", "<cfoutput>#x#</cfoutput>", " cf ",
            "<td class=\"cf\">", "<p cfx=\"1\">", "<cf"};
        out += pick(kCf);
        break;
    }
    case 10: { // &nbsp; chains
        std::string chain;
        for (std::size_t k = 1 + below(5); k > 0; --k) chain += "&nbsp;";
        if (chance(40)) chain = "<p title=\"" + chain + "\">";
        out += chain;
        break;
    }
    case 11:
        out += oddBytes();
        break;
    case 12:
        out += pick({"< ", " >", " = ", "= ", " =", "> <", ">  <", "\"", "\\\"", "\\\\\"", "\\"});
        break;
    case 13:
        out += tagText();
        break;
    case 14:
        out += quotedValue();
        break;
    case 15:
        out += " " + tagText() + " ";
        break;
    default:
        out += "<" + tagText() + pick({">", " x>", "\t>", "\r\n>", " "});
        break;
    }
}

std::string RandomPages::page(std::size_t pieces)
{
    std::string out;
    for (std::size_t k = 0; k < pieces; ++k) piece(out);
    return out;
}

TOptionSet RandomPages::options()
{
    TOptionSet options;
    for (const OptionRow& row : OptionTable())
        if (row.kind == OptionKind::Flag && row.page != OptionPage::Files && row.page != OptionPage::Misc)
            options.setFlag(row.id, chance(60));
    options.setFlag(Opt::cbShowInfo, true);

    if (chance(50)) {
        options.listDeleteTags.clear();
        for (std::size_t k = below(5); k > 0; --k) options.listDeleteTags.push_back({chance(80), tagText()});
    }
    for (auto& entry : options.listDeleteTags)
        if (chance(20)) entry.Active = !entry.Active;
    if (chance(50)) {
        options.listReplaceTags.clear();
        for (std::size_t k = below(5); k > 0; --k)
            options.listReplaceTags.push_back({chance(80), tagText(), pick(kReplacements)});
    }
    return options;
}

EngineData RandomPages::data()
{
    EngineData data;
    static const char* const kAlign[] = {"center", "left", "", "CENTER", "a b", "50px"};
    static const char* const kSsi[] = {"#include", "", "#echo", "#INCLUDE", " #echo", "style"};
    for (std::size_t k = below(4); k > 0; --k) data.alignWords.push_back(pick(kAlign));
    for (std::size_t k = below(4); k > 0; --k) data.ssiCommands.push_back(pick(kSsi));
    return data;
}

RandomCase RandomPages::next()
{
    RandomCase c;
    c.page = page(1 + below(40));
    c.options = options();
    c.data = data();
    return c;
}

namespace {

std::string Literal(const std::string& bytes)
{
    std::ostringstream out;
    out << '"';
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (c >= 32 && c < 127) {
            out << c;
        } else {
            static const char* hex = "0123456789ABCDEF";
            out << "\\x" << hex[c >> 4] << hex[c & 15] << "\"\"";
        }
    }
    out << '"';
    return out.str();
}

} // namespace

std::string DescribeCase(const RandomCase& c)
{
    std::ostringstream out;
    out << "page: " << Literal(c.page) << "\n";
    out << "flags on:";
    for (const OptionRow& row : OptionTable())
        if (row.kind == OptionKind::Flag && row.page != OptionPage::Files && row.page != OptionPage::Misc &&
            c.options.flag(row.id))
            out << " " << row.key;
    out << "\nremoval entries:";
    for (const auto& entry : c.options.listDeleteTags)
        out << " {" << (entry.Active ? "on" : "off") << ", " << Literal(entry.Tag) << "}";
    out << "\nreplacement entries:";
    for (const auto& entry : c.options.listReplaceTags)
        out << " {" << (entry.Active ? "on" : "off") << ", " << Literal(entry.FromTag) << ", " << Literal(entry.ToTag)
            << "}";
    out << "\nAlign.dat:";
    for (const auto& word : c.data.alignWords) out << " " << Literal(word);
    out << "\nSsi.dat:";
    for (const auto& word : c.data.ssiCommands) out << " " << Literal(word);
    out << "\n";
    return out.str();
}

} // namespace qm::test
