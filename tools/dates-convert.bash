# bash completion for dates-convert
_dates_convert()
{
    local cur prev words cword
    _init_completion 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    # The names `dates-convert --calendar list` prints, and list itself.
    local calendars="astronomical umalqura umalqura-rule istanbul2016 fcna civil tbla sighting list"
    # The named places; the tool reads a hyphen as the blank of a name.
    local places="Mecca Medina Riyadh Cairo Istanbul Tehran Karachi Delhi Dhaka
        Jakarta Kuala-Lumpur Rabat London New-York Cape-Town"
    case $prev in
        --calendar) COMPREPLY=($(compgen -W "$calendars" -- "$cur")); return ;;
        --corrections) COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --lang) COMPREPLY=($(compgen -W "ar fa ur tr ms id en auto" -- "$cur")); return ;;
        --digits) COMPREPLY=($(compgen -W "latn arab arabext auto" -- "$cur")); return ;;
        --at) COMPREPLY=($(compgen -W "$places" -- "$cur")); return ;;
        --criterion)
            # The map draws the zones of two criteria; sighting takes them all.
            if [[ " ${words[*]:1:cword-1} " == *" crescent-map "* ]]; then
                COMPREPLY=($(compgen -W "odeh yallop" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "yallop odeh mabims istanbul2016 danjon" -- "$cur"))
            fi
            return ;;
    esac
    local commands="to-hijri to-gregorian today month year calendar ics observances crescent crescent-map"
    local options="--json --calendar --corrections --lang --digits --help"
    local command="" word previous=""
    # --at and --criterion go with --calendar sighting.
    [[ " ${words[*]:1:cword-1} " == *" --calendar sighting "* || " ${words[*]:1:cword-1} " == *" --calendar=sighting "* ]] &&
        options+=" --at --criterion"
    for word in "${words[@]:1:cword-1}"; do
        # A value of an option is not a command.
        if [[ $previous != --calendar && $previous != --corrections && $previous != --lang &&
              $previous != --digits && $previous != --at && $previous != --criterion ]]; then
            case $word in
                to-hijri|to-gregorian|today|month|year|calendar|ics|observances|crescent|crescent-map) command=$word; break ;;
            esac
        fi
        previous=$word
    done
    case $command in
        "") options+=" --hijri --observances"; COMPREPLY=($(compgen -W "$commands $options" -- "$cur")) ;;
        to-hijri|to-gregorian)
            # A date, or - for one date a line from standard input.
            COMPREPLY=($(compgen -W "- $options" -- "$cur")) ;;
        calendar) COMPREPLY=($(compgen -W "--hijri $options" -- "$cur")) ;;
        ics) COMPREPLY=($(compgen -W "--observances $options" -- "$cur")) ;;
        crescent)
            if [[ $prev == --at ]]; then
                # The named places; the tool reads a hyphen as the blank of a name.
                COMPREPLY=($(compgen -W "Mecca Medina Riyadh Cairo Istanbul Tehran Karachi Delhi Dhaka
                    Jakarta Kuala-Lumpur Rabat London New-York Cape-Town" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "--at --json --lang --digits --help" -- "$cur"))
            fi ;;
        crescent-map)
            case ${words[cword-1]} in
                --png) COMPREPLY=($(compgen -f -X '!*.[pP][nN][gG]' -- "$cur") $(compgen -d -- "$cur")) ;;
                --grid) COMPREPLY=($(compgen -W "0.25 0.5 1 2 5 10" -- "$cur")) ;;
                *) COMPREPLY=($(compgen -W "--png --criterion --grid --help" -- "$cur")) ;;
            esac ;;
        *) COMPREPLY=($(compgen -W "$options" -- "$cur")) ;;
    esac
}
complete -F _dates_convert dates-convert
