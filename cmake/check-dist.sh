#!/bin/bash
# Checks every file shipped in the dist folder:
#  - it imports only DLLs that come with Windows (no C++ runtime DLLs);
#  - a plug-in DLL exports exactly DSPWorkOnThisFile, ShowDSPSettings and
#    RemoveDSPSettings.
# Usage: check-dist.sh DIST_DIR [OBJDUMP]
dist=$1
objdump=${2:-x86_64-w64-mingw32-objdump}
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|ole32|oleaut32|winmm|msvcrt|ws2_32|shlwapi|version|imm32|uxtheme|winspool\.drv|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
fail=0
count=0
shopt -s nullglob nocaseglob
for f in "$dist"/*.exe "$dist"/*.dll; do
    count=$((count + 1))
    dump=$("$objdump" -p "$f") || { echo "FAIL $f: objdump could not read it"; fail=1; continue; }
    while read -r dll; do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        if ! [[ $lower =~ $allowed ]]; then
            echo "FAIL $(basename "$f") imports $dll, which does not ship with Windows"
            fail=1
        fi
    done < <(echo "$dump" | sed -n 's/^\s*DLL Name: //p')
    case "$f" in
    *.dll|*.DLL)
        exports=$(echo "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1; next} t && /^[ \t]*\[/{print $NF; next} t && !/^[ \t]*\[/{t=0}' | sort | tr '\n' ' ')
        want="DSPWorkOnThisFile RemoveDSPSettings ShowDSPSettings "
        if [ "$exports" != "$want" ]; then
            echo "FAIL $(basename "$f") exports '$exports', expected '$want'"
            fail=1
        fi
        ;;
    *.exe|*.EXE)
        if ! echo "$dump" | grep -q 'Subsystem\s*0*2\s'; then
            case "$(basename "$f")" in
            *) echo "FAIL $(basename "$f") is not a Windows GUI-subsystem program"; fail=1;;
            esac
        fi
        ;;
    esac
done
if [ $count -eq 0 ]; then
    echo "FAIL no files in $dist"
    exit 1
fi
[ $fail -eq 0 ] && echo "OK: $count shipped files checked"
exit $fail
