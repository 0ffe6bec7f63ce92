# Tab completion for lintrel-cli: its flags, the control names --set takes, the --points choices
# and *.dxf files. The flags and names are read from the program's own --help, so they stay current.

_lintrel_cli_help() {
    if [[ -z ${_lintrel_cli_help_text-} ]]; then
        _lintrel_cli_help_text=$("$1" --help 2>/dev/null)
    fi
    printf '%s\n' "$_lintrel_cli_help_text"
}

_lintrel_cli() {
    local cur prev words cword
    _init_completion -n = || return

    case $prev in
        --points)
            COMPREPLY=($(compgen -W 'all linetype' -- "$cur"))
            return
            ;;
        --set)
            # Control names end each option's help in brackets: [Check7], [Option1(0) / ...].
            local names
            names=$(_lintrel_cli_help "$1" | grep -v '^Usage' | grep -o '\[[^]]*\]$' |
                tr -d '[]' | sed 's| / |\n|g' | sort -u)
            compopt -o nospace
            COMPREPLY=($(compgen -W "$names" -S '=' -- "$cur"))
            return
            ;;
        --settings)
            _filedir
            return
            ;;
        --output-dir)
            _filedir -d
            return
            ;;
    esac

    # A number comes after the flags whose help shows N or NUMBER: nothing to offer.
    local numeric
    numeric=$(_lintrel_cli_help "$1" | grep -oE -- '^ +-[-a-z0-9,]+ (N|NUMBER)( |$)' |
        grep -oE -- '-[-a-z0-9]+')
    if grep -qxF -- "$prev" <<<"$numeric"; then
        return
    fi
    if [[ $cur == -* ]]; then
        local flags
        flags=$(_lintrel_cli_help "$1" | grep -oE -- '^ +-[-a-z0-9,]+' | tr ',' '\n' | tr -d ' ')
        COMPREPLY=($(compgen -W "$flags" -- "$cur"))
        return
    fi
    _filedir dxf
}
complete -F _lintrel_cli lintrel-cli
