# Turns a program's --help or --version output into what help2man reads best, under the command's
# installed name: awk -v own=demo -v command=palevortex -f help-for-man.awk
#  - the program's own name at the start of the version line and of the usage lines becomes the
#    installed command's;
#  - usage lines after the first become GNU style "  or:  COMMAND ..." lines, and a usage line's
#    continuation (spaces, then "[") joins it;
#  - an option whose name and argument fill the option column gets a second space before its
#    description, which help2man needs to tell them apart, and a description that starts with
#    a dash goes on a line of its own, where help2man does not take it for another option.
function flush() {
    if (holding) print held
    holding = 0
}
{
    line = $0
    if (index(line, own " ") == 1) {
        line = command substr(line, length(own) + 1)
    } else if (line ~ "^[Uu]sage: " own " ") {
        sub(own " ", command " ", line)
    } else if (index(line, "       " own " ") == 1) {
        line = "  or:  " command substr(line, length(own) + 8)
    } else if (held ~ /^([Uu]sage|  or):  ?/ && line ~ /^ +\[/) {
        sub(/^ +/, " ", line)
        held = held line
        next
    } else if (line ~ /^  -/ && substr(line, 19, 1) != " " && substr(line, 20, 1) == " " &&
               substr(line, 21, 1) != " ") {
        line = substr(line, 1, 20) " " substr(line, 21)
    } else if (line ~ /^  -/ && substr(line, 21, 1) == "-" && substr(line, 20, 1) == " ") {
        flush()
        option = substr(line, 1, 20)
        sub(/ +$/, "", option)
        print option
        line = sprintf("%20s", "") substr(line, 21)
    }
    flush()
    held = line
    holding = 1
}
END { flush() }
