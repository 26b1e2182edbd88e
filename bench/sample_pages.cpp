// Generated pages for the benchmarks.
#include "bench/sample_pages.h"

#include <random>
#include <string_view>

namespace qm::bench {
namespace {

const char* const kWords[] = {"the", "module", "function", "returns", "a", "value", "of", "type", "string", "when",
    "called", "with", "an", "argument", "list", "and", "optional", "keyword", "arguments", "see", "also", "example",
    "configuration", "file", "is", "read", "from", "default", "path", "Größe", "naïve", "résumé", "数据", "Ошибка"};

class Writer {
public:
    explicit Writer(unsigned seed)
        : random_(seed)
    {
    }
    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    template<std::size_t N> const char* pick(const char* const (&items)[N]) { return items[below(N)]; }

    std::string sentence(std::size_t words)
    {
        std::string text;
        for (std::size_t k = 0; k < words; ++k) {
            if (k) text += ' ';
            text += pick(kWords);
        }
        return text;
    }

private:
    std::mt19937 random_;
};

} // namespace

std::string RealisticPage(std::size_t bytes, unsigned seed)
{
    Writer w(seed);
    std::string page = "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
                       "  <head>\n"
                       "    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n"
                       "    <meta name=\"generator\" content=\"Docutils 0.17.1: http://docutils.sourceforge.net/\" />\n"
                       "    <title>Configuration &mdash; Reference Manual</title>\n"
                       "    <link rel=\"stylesheet\" href=\"_static/basic.css\" type=\"text/css\" />\n"
                       "    <style type=\"text/css\">\n"
                       "      body   { margin: 0; font-family: \"Georgia\", serif; }\n"
                       "      div.section h1 { color: #20435c; }\n"
                       "    </style>\n"
                       "    <script type=\"text/javascript\" src=\"_static/jquery.js\"></script>\n"
                       "    <script type=\"text/javascript\">\n"
                       "      var DOCUMENTATION_OPTIONS = {  URL_ROOT:  './',  VERSION:  '3.11' };\n"
                       "    </script>\n"
                       "  </head>\n"
                       "  <body>\n"
                       "    <div class=\"document\">\n";
    std::size_t section = 0;
    while (page.size() < bytes) {
        ++section;
        const std::string id = "section-" + std::to_string(section);
        page += "      <!-- " + w.sentence(3) + " -->\n";
        page += "      <div class=\"section\" id=\"" + id + "\">\n";
        page += "        <h2>" + w.sentence(4) + "<a class=\"headerlink\" href=\"#" + id +
            "\" title=\"Permalink to this headline\">&para;</a></h2>\n";
        for (std::size_t p = 1 + w.below(4); p > 0; --p) {
            page += "        <p>" + w.sentence(8) + " <code class=\"docutils literal\"><span class=\"pre\">" +
                w.sentence(1) + "</span></code> " + w.sentence(6) + " <em>" + w.sentence(2) + "</em>, " +
                w.sentence(5) + "\n          <a class=\"reference internal\" href=\"#section-" +
                std::to_string(w.below(section) + 1) + "\"><strong>" + w.sentence(2) + "</strong></a>&nbsp;" +
                w.sentence(9) + ".</p>\n";
        }
        if (w.below(3) == 0) {
            page += "        <table border=\"1\" class=\"docutils\" width=\"100%\" cellpadding=\"4\">\n";
            for (std::size_t r = 2 + w.below(4); r > 0; --r)
                page += "\t\t\t<tr>\n\t\t\t\t<td align=\"left\" width=\"30%\">" + w.sentence(2) +
                    "</td>\n\t\t\t\t<td>" + w.sentence(7) + "</td>\n\t\t\t</tr>\n";
            page += "        </table>\n";
        }
        if (w.below(3) == 0)
            page += "        <pre>  options = {  \"name\":  \"" + w.sentence(1) +
                "\",  \"size\":  " + std::to_string(w.below(1000)) + " }\n</pre>\n";
        page += "\n      </div>\n";
    }
    page += "    </div>\n  </body>\n</html>\n";
    return page;
}

std::string AdversarialPage(std::size_t bytes, unsigned seed)
{
    Writer w(seed);
    static const char* const kPieces[] = {"<td width=\"50\" align=\"center\" title=\"a  b\" class=\"x\" alt=\"\">",
        "< b >x< /b >", "<p  class = \"q\" >", "<!-- comment -- with -- dashes -->", "<!--#include virtual=\"/x\" -->",
        "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;", "<a title=\"&nbsp;&nbsp;&nbsp;\">", "\"", "\\\"", "a = b", " > <",
        "<strong>s</strong>", "<em>e</em>", "strong em code", "<font color=\"#FF0000\">",
        "<meta name=\"keywords\" content=\"k\">", "<script>var s = \"</script\";</script>", "<?php echo \"?>\"; ?>",
        "<cfset x = 1>", "\t  \t", "\r\n  \r\n", "<img src=\"a.gif\" width=\"10\" height=\"20\" alt=\"\" border=\"0\">",
        "<!-- style -->", "  ", "text words here"};
    std::string page;
    while (page.size() < bytes) {
        page += w.pick(kPieces);
        if (w.below(8) == 0) page += '\n';
    }
    return page;
}

} // namespace qm::bench
