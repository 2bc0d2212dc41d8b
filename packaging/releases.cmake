# The program's releases, newest first: the one home of what each brought.
# The AppStream metadata's <releases> and the package's changelog.gz are made
# from this list. A release is "VERSION|YYYY-MM-DD", its notes a list of lines.
set(WORMGEAR_RELEASES "7.6|2026-12-08")
set(WORMGEAR_RELEASE_NOTES_7.6
    "An English interface beside the Chinese one (维护 → 语言, or wormcalc --language en)"
    "Drawings of the worm, the wheel and the hob as DXF, SVG and PDF, with a preview to save and print"
    "A calculation report (计算书) as PDF/A with the design attached, listing every design check"
    "Design checks: why a calculation fails, whether the pair can be made, where it leaves the usual ranges"
    "A table of solutions around a design, sorted, filtered, charted and exported"
    "Sheets, drawings and reports of a design whose checks find an error only on request, and then marked"
    "wormcalc: JSON, CSV, batches, sweeps, sheets, drawings, the report and design files without a window")

# <release> elements for the metadata, and the changelog's text.
set(WORMGEAR_RELEASES_XML "")
set(WORMGEAR_CHANGELOG "")
foreach(release IN LISTS WORMGEAR_RELEASES)
  string(REPLACE "|" ";" fields "${release}")
  list(GET fields 0 version)
  list(GET fields 1 date)
  string(APPEND WORMGEAR_RELEASES_XML
         "    <release version=\"${version}\" date=\"${date}\">\n      <description>\n        <ul>\n")
  string(APPEND WORMGEAR_CHANGELOG "wormgear ${version} (${date})\n\n")
  foreach(note IN LISTS WORMGEAR_RELEASE_NOTES_${version})
    string(REPLACE "&" "&amp;" xml_note "${note}")
    string(REPLACE "<" "&lt;" xml_note "${xml_note}")
    string(APPEND WORMGEAR_RELEASES_XML "          <li>${xml_note}</li>\n")
    string(APPEND WORMGEAR_CHANGELOG "  * ${note}\n")
  endforeach()
  string(APPEND WORMGEAR_RELEASES_XML "        </ul>\n      </description>\n    </release>\n")
  string(APPEND WORMGEAR_CHANGELOG "\n")
endforeach()
string(REGEX REPLACE "\n$" "" WORMGEAR_RELEASES_XML "${WORMGEAR_RELEASES_XML}")
