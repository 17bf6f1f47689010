#!/usr/bin/env bash
# The bash completion offers the commands, then each command's options, and the
# calendars after --calendar: the very names `dates-convert --calendar list`
# prints when the program is given.
# Usage: check-completion.sh <dates-convert.bash> [<dates-convert>]
source "$1" || exit 1
faults=0
expect() { # expect "<words>" "<completions>"
  read -ra COMP_WORDS <<<"$1"
  [[ "$1" == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _dates_convert
  local got="${COMPREPLY[*]}"
  if [[ "$got" != "$2" ]]; then
    echo "'$1': got '$got', expected '$2'"
    faults=$((faults + 1))
  fi
}
expect "dates-convert ca" "calendar"
expect "dates-convert to-" "to-hijri to-gregorian"
expect "dates-convert calendar --h" "--hijri --help"
expect "dates-convert to-hijri " "- --json --calendar --corrections --lang --digits --help"
expect "dates-convert --json ics --j" "--json"
expect "dates-convert cr" "crescent crescent-map"
expect "dates-convert crescent-map 2026-02-17 --" "--png --criterion --grid --help"
expect "dates-convert crescent-map 2026-02-17 --criterion " "odeh yallop"
expect "dates-convert month 1447-09 --calendar sighting --criterion " "yallop odeh mabims istanbul2016 danjon"
expect "dates-convert crescent-map 2026-02-17 --grid 0." "0.25 0.5"
expect "dates-convert crescent 1447-09 --" "--at --json --lang --digits --help"
expect "dates-convert crescent 1447-09 --at Me" "Mecca Medina"
expect "dates-convert crescent --at Ca" "Cairo Cape-Town"
expect "dates-convert ob" "observances"
expect "dates-convert ics 1447 --o" "--observances"
expect "dates-convert month 1447-09 --calendar " "astronomical umalqura umalqura-rule istanbul2016 fcna civil tbla sighting list"
expect "dates-convert --calendar u" "umalqura umalqura-rule"
expect "dates-convert month 1447-09 --calendar sighting --c" "--calendar --corrections --criterion"
expect "dates-convert month 1447-09 --calendar sighting --criterion " "yallop odeh mabims istanbul2016 danjon"
expect "dates-convert --calendar sighting today --at Ja" "Jakarta"
expect "dates-convert month 1447-09 --c" "--calendar --corrections"
expect "dates-convert --calendar calendar month --h" "--help"
expect "dates-convert calendar --hijri --lang " "ar fa ur tr ms id en auto"
expect "dates-convert --lang a" "ar auto"
expect "dates-convert to-hijri --digits ar" "arab arabext"
expect "dates-convert --lang calendar calendar --h" "--hijri --help"
expect "dates-convert today --l" "--lang"
if [[ -n "${2:-}" ]]; then
  listed="$("$2" --calendar list | cut -d' ' -f1 | tr '\n' ' ')list"
  expect "dates-convert --calendar " "$listed"
fi
echo "$faults faults"
exit $((faults > 0))
