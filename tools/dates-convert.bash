# bash completion for dates-convert
_dates_convert()
{
    local cur prev words cword
    _init_completion 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    local commands="to-hijri to-gregorian today month year calendar ics"
    local options="--json --help"
    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            to-hijri|to-gregorian|today|month|year|calendar|ics) command=$word; break ;;
        esac
    done
    case $command in
        "") options+=" --hijri"; COMPREPLY=($(compgen -W "$commands $options" -- "$cur")) ;;
        to-hijri|to-gregorian)
            # A date, or - for one date a line from standard input.
            COMPREPLY=($(compgen -W "- $options" -- "$cur")) ;;
        calendar) COMPREPLY=($(compgen -W "--hijri $options" -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W "$options" -- "$cur")) ;;
    esac
}
complete -F _dates_convert dates-convert
