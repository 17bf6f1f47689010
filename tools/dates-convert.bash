# bash completion for dates-convert
_dates_convert()
{
    local cur prev words cword
    _init_completion 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    local commands="to-hijri to-gregorian today month year calendar ics crescent"
    local options="--json --help"
    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            to-hijri|to-gregorian|today|month|year|calendar|ics|crescent) command=$word; break ;;
        esac
    done
    case $command in
        "") options+=" --hijri"; COMPREPLY=($(compgen -W "$commands $options" -- "$cur")) ;;
        to-hijri|to-gregorian)
            # A date, or - for one date a line from standard input.
            COMPREPLY=($(compgen -W "- $options" -- "$cur")) ;;
        calendar) COMPREPLY=($(compgen -W "--hijri $options" -- "$cur")) ;;
        crescent)
            if [[ ${words[cword-1]} == --at ]]; then
                # The named places; the tool reads a hyphen as the blank of a name.
                COMPREPLY=($(compgen -W "Mecca Medina Riyadh Cairo Istanbul Tehran Karachi Delhi Dhaka
                    Jakarta Kuala-Lumpur Rabat London New-York Cape-Town" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "--at $options" -- "$cur"))
            fi ;;
        *) COMPREPLY=($(compgen -W "$options" -- "$cur")) ;;
    esac
}
complete -F _dates_convert dates-convert
