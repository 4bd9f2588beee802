#!/usr/bin/env bash
# The manual page and --help describe the same tool: every command and option --help lists has
# its entry in the page, every command the page describes is in --help, and the page names every
# exit status. Usage: cli_manual_page.sh CLI MANUAL-PAGE
set -u
cli=$1
page=$2
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

help=$("$cli" --help) || fail "--help exited with $?"
# The page's source with roff's escaped hyphens as plain ones.
source=$(sed 's/\\-/-/g' "$page")
section() { awk -v name="$1" '/^\.SH / {on = ($2 == name)} on && !/^\.SH /' <<<"$source"; }

help_commands=$(awk '/^Commands:/ {on = 1; next} /^$/ {on = 0} on {print $1}' <<<"$help" | sort)
page_commands=$(section COMMANDS | awk '/^\.B / {print $2}' | sort)
[ -n "$help_commands" ] || fail "--help lists no commands"
for command in $help_commands; do
  grep -qx "$command" <<<"$page_commands" || fail "the page does not describe the command $command"
done
for command in $page_commands; do
  grep -qx "$command" <<<"$help_commands" || fail "--help does not list the command $command"
done

help_options=$(awk '/^Options:/ {on = 1; next} /^$/ {on = 0} on && $1 ~ /^-/ {print $1}' \
  <<<"$help" | sort -u)
page_options=$(section OPTIONS | grep -E '^\.(B|BI|BR) ' | grep -oE '(^|[ ,"])-(-[a-z-]+|[a-z])' |
  tr -d ' ,"' | sort -u)
[ -n "$help_options" ] || fail "--help lists no options"
for option in $help_options; do
  grep -qx -- "$option" <<<"$page_options" || fail "the page does not describe the option $option"
done
for option in $page_options; do
  grep -qx -- "$option" <<<"$help_options" || fail "--help does not list the option $option"
done

# "Exit status: 0 success, 1 failure, ..." may run over two lines.
statuses=$(sed -n '/^Exit status:/,$p' <<<"$help" | tr '\n' ' ' | grep -oE '(: |, )[0-9]+ ' |
  tr -dc '0-9\n')
[ -n "$statuses" ] || fail "--help names no exit status"
exit_section=$(section 'EXIT' | tr '\n' ' ')
for status in $statuses; do
  grep -qE "(^| )$status " <<<"$exit_section" || fail "the page does not name exit status $status"
done

[ $failures = 0 ] && echo "the manual page matches --help"
exit $failures
