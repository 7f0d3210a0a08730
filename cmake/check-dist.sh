#!/bin/bash
# Checks every file shipped in the dist folder:
#  - it imports only DLLs that come with Windows (no C++ runtime DLLs);
#  - with FORMAT given, it is a PE image of that machine (pei-i386 for the
#    32-bit build, pei-x86-64 for the 64-bit one);
#  - a plug-in DLL exports exactly DSPWorkOnThisFile, ShowDSPSettings and
#    RemoveDSPSettings, undecorated (no leading underscore, no @n);
#  - with VERSION given: its VERSIONINFO carries that version (fixed and text
#    forms), its own file name, a description no other file has, a product
#    name and a copyright line; and a program's manifest asks for common
#    controls 6 and asInvoker, names Windows 7 to 11, states the code page, and
#    declares DPI awareness exactly for the programs that scale themselves;
#    with ARCHITECTURE given, the manifest names that processor.
# Usage: check-dist.sh DIST_DIR [OBJDUMP [VERSION [FORMAT ARCHITECTURE]]]
dist=$1
objdump=${2:-x86_64-w64-mingw32-objdump}
version=$3
format=$4
architecture=$5
here=$(cd "$(dirname "$0")" && pwd)
python=${PYTHON:-python3}
# The programs that lay themselves out by the screen's DPI.
dpi_aware_programs=" Auxiliary.exe Cuebinder.exe "
supported_os=(
  "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}" # Windows 7
  "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}" # Windows 8
  "{1f676c76-80e1-4239-95bb-83d0f6d0da78}" # Windows 8.1
  "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" # Windows 10 and 11
)
declare -A description_of
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|ole32|oleaut32|winmm|msvcrt|ws2_32|shlwapi|version|imm32|uxtheme|winspool\.drv|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
fail=0
count=0
shopt -s nullglob nocaseglob
for f in "$dist"/*.exe "$dist"/*.dll; do
    count=$((count + 1))
    dump=$("$objdump" -p "$f") || { echo "FAIL $f: objdump could not read it"; fail=1; continue; }
    if [ -n "$format" ] && ! grep -q "file format $format\$" <<<"$dump"; then
        echo "FAIL $(basename "$f") is $(grep -o 'file format .*' <<<"$dump" | head -1), expected $format"
        fail=1
    fi
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
    [ -n "$version" ] || continue

    name=$(basename "$f")
    info=$("$python" "$here/pe-resources.py" version "$f" 2>&1) || { echo "FAIL $name has no readable VERSIONINFO: $info"; fail=1; continue; }
    expect() { # expect KEY VALUE: the VERSIONINFO line KEY=VALUE is there
        grep -qxF "$1=$2" <<<"$info" || { echo "FAIL $name: $1 is '$(sed -n "s/^$1=//p" <<<"$info")', expected '$2'"; fail=1; }
    }
    expect FixedFileVersion "$version.0"
    expect FixedProductVersion "$version.0"
    expect String.FileVersion "$version"
    expect String.ProductVersion "$version"
    expect String.OriginalFilename "$name"
    case "$name" in
    *.dll|*.DLL) expect FileType dll ;;
    *) expect FileType app ;;
    esac
    for key in String.FileDescription String.ProductName String.LegalCopyright; do
        grep -q "^$key=." <<<"$info" || { echo "FAIL $name: no $key"; fail=1; }
    done
    description=$(sed -n 's/^String.FileDescription=//p' <<<"$info")
    if [ -n "$description" ] && [ -n "${description_of[$description]}" ]; then
        echo "FAIL $name has the same description as ${description_of[$description]}: '$description'"
        fail=1
    fi
    description_of[$description]=$name

    case "$name" in *.exe|*.EXE) ;; *) continue ;; esac
    manifest=$("$python" "$here/pe-resources.py" manifest-summary "$f" 2>&1) || { echo "FAIL $name has no readable manifest: $manifest"; fail=1; continue; }
    want() { # want LINE: the manifest declares LINE
        grep -qxF "$1" <<<"$manifest" || { echo "FAIL $name: the manifest lacks '$1'"; fail=1; }
    }
    # the assembly's name ends with the program's, and its version is the project's
    grep -qE "^identity=([^ ]+\.)?${name%.*} ${version//./\\.}\.0$" <<<"$manifest" ||
        { echo "FAIL $name: the manifest's identity is '$(grep '^identity=' <<<"$manifest")'"; fail=1; }
    want "dependency=Microsoft.Windows.Common-Controls 6.0.0.0"
    [ -z "$architecture" ] || want "architecture=$architecture"
    want "requestedExecutionLevel=asInvoker"
    for id in "${supported_os[@]}"; do want "supportedOS=$id"; done
    grep -qE '^activeCodePage=(Legacy|UTF-8)$' <<<"$manifest" || { echo "FAIL $name: the manifest states no code page"; fail=1; }
    if [[ $dpi_aware_programs == *" $name "* ]]; then
        want "dpiAware=true"
        want "dpiAwareness=system"
    elif grep -q '^dpiAware' <<<"$manifest"; then
        echo "FAIL $name declares DPI awareness but does not scale itself"
        fail=1
    fi
done
if [ $count -eq 0 ]; then
    echo "FAIL no files in $dist"
    exit 1
fi
[ $fail -eq 0 ] && echo "OK: $count shipped files checked"
exit $fail
