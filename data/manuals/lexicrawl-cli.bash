# bash completion for lexicrawl-cli. The commands, the options and their
# values are read from `lexicrawl-cli --help` each time, so they are always
# those of the program being completed; dictionary names come from
# `lexicrawl-cli dictionaries`.

# _lexicrawl_cli_options CLI: one "option<TAB>argument" line per option of
# the help (argument empty for a switch).
_lexicrawl_cli_options()
{
    local line re='^  (--[a-z0-9-]+)( ([^ ]+))?(  |$)'
    while IFS= read -r line; do
        [[ $line =~ $re ]] && printf '%s\t%s\n' "${BASH_REMATCH[1]}" "${BASH_REMATCH[3]}"
    done < <("$1" --help 2>/dev/null)
}

_lexicrawl_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local cli=${COMP_WORDS[0]} line name arg
    COMPREPLY=()

    if [[ $COMP_CWORD -eq 1 ]]; then
        local commands
        commands=$("$cli" --help 2>/dev/null | sed -n 's/^  lexicrawl-cli \([a-z][a-z]*\).*/\1/p')
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
        return
    fi

    local -A takes=()
    local options=()
    while IFS=$'\t' read -r name arg; do
        options+=("$name")
        takes[$name]=$arg
    done < <(_lexicrawl_cli_options "$cli")

    # The value of an option: its choices, a dictionary, a folder or a file.
    if [[ $prev == --* && -n ${takes[$prev]-} ]]; then
        arg=${takes[$prev]}
        case $prev,$arg in
            --dictionary,*)
                local names
                names=$("$cli" dictionaries 2>/dev/null | cut -f1)
                local IFS=$'\n'
                mapfile -t COMPREPLY < <(compgen -W "$names" -- "$cur")
                local i
                for i in "${!COMPREPLY[@]}"; do
                    COMPREPLY[i]=$(printf '%q' "${COMPREPLY[i]}")
                done ;;
            *,*'|'*)
                mapfile -t COMPREPLY < <(compgen -W "${arg//|/ }" -- "$cur") ;;
            *,DIR)
                compopt -o filenames 2>/dev/null
                mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
            *,*FILE*|*,*.db|*,*.html)
                compopt -o filenames 2>/dev/null
                mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
        esac
        return
    fi

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${options[*]}" -- "$cur")
        return
    fi

    # Project files for open and diff.
    case ${COMP_WORDS[1]} in
        open|diff)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
    esac
}
complete -F _lexicrawl_cli lexicrawl-cli
