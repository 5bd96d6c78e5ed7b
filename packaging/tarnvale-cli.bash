# bash completion for tarnvale-cli

# Completes folders (-d) or files (no argument) into COMPREPLY; through
# bash-completion's _filedir when it is loaded, which handles quoting.
_tarnvale_cli_paths() {
  if declare -F _filedir >/dev/null; then
    _filedir "$@"
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen "${1:--f}" -- "$cur")
  fi
}

_tarnvale_cli_words() {
  mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

_tarnvale_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  # --option=value: once the value is begun, complete it as if it followed
  # a space.
  if [[ $prev == = && COMP_CWORD -ge 2 ]]; then prev=${COMP_WORDS[COMP_CWORD-2]}; fi

  # The command is the first word that is neither an option nor the value
  # of --code-page.
  local command="" i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    case $word in
      --code-page) ((i++)) ;;
      create | dump | diff | status | explain | gen-scenery | demo)
        command=$word
        break
        ;;
    esac
  done

  COMPREPLY=()
  case $prev in
    --code-page)
      _tarnvale_cli_words "1250 1251 1252"
      return
      ;;
    --fs-version)
      _tarnvale_cli_words "8 9"
      return
      ;;
    --preset)
      _tarnvale_cli_words "demo world full"
      return
      ;;
    --program)
      _tarnvale_cli_words "chart radar"
      return
      ;;
    --target | --simulator | --dir | --out)
      _tarnvale_cli_paths -d
      return
      ;;
    --report)
      _tarnvale_cli_paths
      return
      ;;
    --scale | --seed | --threads)
      return
      ;;
  esac

  local options
  case $command in
    "") options="--help --version --code-page" ;;
    create) options="--help --target --simulator --fs-version --report --threads" ;;
    dump) options="--help --json" ;;
    diff) options="--help --json" ;;
    status) options="--help --target --json" ;;
    explain) options="--help --target --simulator --fs-version --json" ;;
    gen-scenery) options="--help --out --fs-version --preset --scale --seed" ;;
    demo) options="--help --dir --fs-version --program" ;;
  esac
  if [[ $cur == -* ]]; then
    _tarnvale_cli_words "$options"
  elif [[ -z $command ]]; then
    _tarnvale_cli_words "create dump diff status explain gen-scenery demo"
  elif [[ $command == dump || $command == diff ]]; then
    _tarnvale_cli_paths
  fi
}

complete -F _tarnvale_cli tarnvale-cli
