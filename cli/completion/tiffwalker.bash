# Bash completion for tiffwalker.
_tiffwalker() {
    local cur prev
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD-1]}"
    if [[ "$prev" == "-j" || "$prev" == "--jobs" ]]; then
        mapfile -t COMPREPLY < <(compgen -W "1 2 4 8 $(nproc 2>/dev/null)" -- "$cur")
        return
    fi
    if [[ "$prev" == "--format" ]]; then
        mapfile -t COMPREPLY < <(compgen -W "text tsv json" -- "$cur")
        return
    fi
    if [[ "$cur" == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "-r --recursive --format --trace --problems --camera -j --jobs --help --version" -- "$cur")
        return
    fi
    # Folders, and the files the tool reads, their names in any case.
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    local file
    while IFS= read -r file; do
        [[ "${file,,}" == *.@(nef|jpg|jpeg|arw|sr2|pef|dng|cr2|cr3|heic|heif|hif|raf) ]] && COMPREPLY+=("$file")
    done < <(compgen -f -- "$cur")
}
complete -F _tiffwalker tiffwalker
