// Generated pages for the benchmarks: documentation-like pages, and pages built to stress the passes.
#pragma once

#include <cstddef>
#include <string>

namespace qm::bench {

// A page like generated documentation: head with meta tags, styles and
// scripts, then sections of headings, paragraphs with inline markup, links,
// tables, code blocks and the odd comment, indented with spaces and tabs.
std::string RealisticPage(std::size_t bytes, unsigned seed = 1);

// A page of what costs the passes most: thousands of quoted values, "< "
// pairs, comments, &nbsp; chains, lone quotes and tag texts in odd places.
std::string AdversarialPage(std::size_t bytes, unsigned seed = 1);

} // namespace qm::bench
