# bash completion for corsaro270-cli: commands, options, and files where a command takes them.
# The commands and options are read from the tool's own --help, so they never fall behind it.

_corsaro270_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD - 1]}
  local help
  help=$("$1" --help 2>/dev/null) || return 0

  case $prev in
    --virtual)
      COMPREPLY=($(compgen -f -- "$cur"))
      return 0
      ;;
    --device)
      COMPREPLY=($(compgen -f -- "${cur:-/dev/hidraw}"))
      return 0
      ;;
    --url | --firmware-version)
      return 0
      ;;
  esac

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(awk '/^  --/ {print $1}' <<<"$help")" -- "$cur"))
    return 0
  fi

  # The command is the first word that is neither an option nor an option's value.
  local i command="" arguments=0
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --virtual | --device | --url | --firmware-version) ((i++)) ;;
      --*) ;;
      *)
        if [[ -z $command ]]; then
          command=${COMP_WORDS[i]}
        else
          ((arguments++))
        fi
        ;;
    esac
  done

  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "$(awk '/^Commands:/ {on = 1; next} /^$/ {on = 0} on {print $1}' \
      <<<"$help")" -- "$cur"))
    return 0
  fi
  case $command in
    read-profile)
      if ((arguments == 0)); then
        COMPREPLY=($(compgen -W "1 2 3" -- "$cur"))
      else
        COMPREPLY=($(compgen -f -- "$cur"))
      fi
      ;;
    install-preset)
      if ((arguments == 1)); then COMPREPLY=($(compgen -W "1 2 3" -- "$cur")); fi
      ;;
    write-profiles | check)
      COMPREPLY=($(compgen -f -X '!*.cs270' -- "$cur") $(compgen -d -- "$cur"))
      ;;
    backup | restore | *)
      COMPREPLY=($(compgen -f -- "$cur"))
      ;;
  esac
  return 0
}
complete -F _corsaro270_cli corsaro270-cli
