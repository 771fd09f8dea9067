# bash completion of zevro-cli: its commands, each command's options, and the
# catalogs of the catalog folder where a command takes a list file.
# Installed as share/bash-completion/completions/zevro-cli.

_zevro_cli() {
  local cur prev words cword
  if declare -F _init_completion >/dev/null; then
    _init_completion || return
  else
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}
    words=("${COMP_WORDS[@]}")
    cword=$COMP_CWORD
  fi

  local commands="catalogs info dump options drives read search title extract readme-title kind print selection genres move export backup convert duplicates only-here diff index locate picture disk-image edit refresh"
  local command="" programdir=() i
  for ((i = 1; i < cword; i++)); do
    case ${words[i]} in
      --program-dir) programdir=(--program-dir "${words[i + 1]}"); ((i++)) ;;
      -*) ;;
      *) command=${words[i]}; break ;;
    esac
  done

  if [[ -z $command ]]; then
    if [[ $prev == --program-dir ]]; then
      COMPREPLY=($(compgen -d -- "$cur"))
    elif [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W "--program-dir --help --version" -- "$cur"))
    else
      COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    fi
    return
  fi

  local options
  case $command in
    catalogs | drives) options="--json --help" ;;
    info | title | locate | disk-image | refresh | picture) options="--help" ;;
    index) options="--rebuild --check --help" ;;
    edit) options="--name --comment --date --help" ;;
    dump) options="--json --help" ;;
    options) options="--help" ;;
    extract) options="--to --help" ;;
    kind) options="--json --help" ;;
    print) options="--pdf --search --folders-only --files-of --from --to --paper --set --and --or --names --comments
                    --case --no-case --width --no-width --pattern --no-pattern --word --no-word --media --genre
                    --help" ;;
    selection) options="--by-title --grouped --media --help" ;;
    genres | move) options="--help" ;;
    export) options="--csv --txt -o --output --mode --level --help" ;;
    backup | convert) options="--help" ;;
    read) options="--catalog-title --title --genre --replace --add --sort --local-time --no-local-time --archives
                   --archive-comments --zip --quiet --help" ;;
    duplicates) options="--by --min-size --media --genre --members --same-medium --json --help" ;;
    only-here) options="--by --min-size --media --genre --members --json --help" ;;
    diff) options="--by --members --json --help" ;;
    search) options="--and --or --names --comments --case --no-case --width --no-width --pattern --no-pattern
                     --word --no-word --media --genre --json --export --no-index --help" ;;
  esac

  case $prev in
    --sort) COMPREPLY=($(compgen -W "name extension kind" -- "$cur")); return ;;
    --paper) COMPREPLY=($(compgen -W "A4 A3 B5 Letter" -- "$cur")); return ;;
    --pdf) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --set) COMPREPLY=($(compgen -W "RomanFont= BoldFont= SizeIndex= GapIndex= PrnTree= PrnComment= SwapDate= PrnVline=
                                   PrnHline= PrnFrame= PrnWrap=" -- "$cur")); return ;;
    --search | --files-of | --from | --to) return ;;
    --archives | --archive-comments | --zip) COMPREPLY=($(compgen -W "on off" -- "$cur")); return ;;
    --media) COMPREPLY=($(compgen -W "CD FD HD CD,HD CD,FD FD,HD" -- "$cur")); return ;;
    --by) COMPREPLY=($(compgen -W "name,size name,size,date" -- "$cur")); return ;;
    --min-size) return ;;
    --mode) COMPREPLY=($(compgen -W "0 1 2 4" -- "$cur")); return ;;
    --level) COMPREPLY=($(compgen -W "0 1 2 3 4" -- "$cur")); return ;;
    -o | --output) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --genre | --title | --catalog-title | --and | --or | --name | --comment | --date) return ;;
    --export) COMPREPLY=($(compgen -f -- "$cur")); return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi

  case $command in
    info | dump | title | print | export | locate | disk-image | edit | refresh)
      # The list file comes first; for title the new title follows it, for
      # locate and edit a row path, for disk-image a file.
      local given=0
      for ((i = i + 1; i < cword; i++)); do [[ ${words[i]} != -* ]] && ((given++)); done
      if ((given == 0)); then
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$("${words[0]}" "${programdir[@]}" catalogs 2>/dev/null | cut -f1)" -- "$cur"))
      fi
      ;;
    only-here | diff)
      # One list file for only-here, two for diff.
      local given=0 wanted=1
      [[ $command == diff ]] && wanted=2
      for ((i = i + 1; i < cword; i++)); do [[ ${words[i]} != -* ]] && ((given++)); done
      if ((given < wanted)); then
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$("${words[0]}" "${programdir[@]}" catalogs 2>/dev/null | cut -f1)" -- "$cur"))
      fi
      ;;
    picture)
      if [[ $prev == picture ]]; then
        COMPREPLY=($(compgen -W "add get remove" -- "$cur"))
      elif [[ $prev == add || $prev == get || $prev == remove ]] && [[ ${words[cword - 2]} == picture ]]; then
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$("${words[0]}" "${programdir[@]}" catalogs 2>/dev/null | cut -f1)" -- "$cur"))
      fi
      ;;
    options)
      [[ $prev == options ]] && COMPREPLY=($(compgen -W "get set" -- "$cur"))
      ;;
    genres)
      [[ $prev == genres ]] && COMPREPLY=($(compgen -W "add rename delete up down" -- "$cur"))
      ;;
    move)
      if [[ $prev == move ]]; then
        local IFS=$'\n'
        COMPREPLY=($(compgen -W "$("${words[0]}" "${programdir[@]}" catalogs 2>/dev/null | cut -f1)" -- "$cur"))
      fi
      ;;
    read | backup)
      COMPREPLY=($(compgen -d -- "$cur"))
      ;;
    readme-title)
      COMPREPLY=($(compgen -f -- "$cur"))
      ;;
    extract)
      if [[ $prev == --to ]]; then COMPREPLY=($(compgen -d -- "$cur")); else COMPREPLY=($(compgen -f -- "$cur")); fi
      ;;
  esac
}
complete -F _zevro_cli zevro-cli
