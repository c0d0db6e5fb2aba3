#!/usr/bin/env bash
# Makes an end-to-end case of many copies of Euler's method, for the limits on
# the number of files and on the matrix dimension: writes the method file e,
# the args file and the expected output of the run.
#
# Usage: euler_copies.sh KIND COUNT ENDING
#   ENDING: "composite"  a whole composite run;
#           "matrix"     a whole cyclic run (each row of the matrix holds 1 on
#                        its diagonal and -1 to its left, round the cycle);
#           "refused"    the cyclic matrix is refused as too large;
#           "files"      the last file is refused as too many coefficients.
set -eu
kind=$1 count=$2 ending=$3
printf '1 1\n-1 1\n1 0\n' >e
{ echo "$kind"; for ((i = 0; i < count; i++)); do echo e; done; } >args
awk -v kind="$kind" -v c="$count" -v ending="$ending" '
function pause() { printf "\nPressione uma tecla para continuar...\n" }
function cell(v) { printf "%10.6f ", v }
function matrix(triangular,   i, j, v, rhs) {
    printf "\nMatriz aumentada do metodo:\n"
    for (i = 0; i < c; i++) {
        for (j = 0; j < c; j++) {
            v = 0
            if (j == i && (!triangular || i < c - 1)) v = 1
            if (!triangular && j == (i + c - 1) % c) v = -1
            if (triangular && j == c - 1 && i < c - 1) v = -1
            cell(v)
        }
        rhs = triangular ? (i == c - 1 ? c / 2 : (i + 1) / 2) : 0.5
        printf "| %9.6f\n", rhs
    }
}
BEGIN {
    if (ending == "files") {
        printf "Erro de falta de memoria.\n"; pause(); exit
    }
    printf "O metodo dado e'"'"' %s.\n", kind == "CI" ? "ciclico" : "composto"
    printf "O metodo tem passo especificado como sendo 1.\nO passo real do metodo e'"'"' 1.\n"
    printf "A equacao diferencial especial tem ordem 1.\n"
    for (i = 1; i <= c; i++)
        printf "\nAlgoritmo %d\nA[ 0 ] =  -1.000000 A[ 1 ] =   1.000000 \nB[ 0 ] =   1.000000 B[ 1 ] =   0.000000 \n", i
    pause()
    for (i = 1; i <= c; i++)
        printf "\nAlgoritmo %d\nEste algoritmo e'"'"' explicito.\nCoeficiente de erro: C[ 2 ] = 0.500000.\nConstante de erro: 0.500000.\nEste algoritmo e'"'"' consistente!!\nA ordem de consistencia do algoritmo e'"'"' 1.\n", i
    pause()
    printf "\nA ordem de consistencia do metodo e'"'"' 1.\n"
    if (ending == "composite") {
        printf "\nNao testo aumento de consistencia para metodos compostos genericos.\n"
        printf "Nao faco o teste da estabilidade em metodos compostos genericos.\n"
    } else if (ending == "refused") {
        printf "Erro de falta de memoria.\n"
    } else {
        matrix(0)
        printf "\nTriangularizando a matriz aumentada...\n"
        matrix(1)
        printf "\nPosto da matriz aumentada: %d\n", c
        printf "A consistencia do metodo e'"'"' a que foi achada antes mesmo!\n"
        pause()
        printf "\nTestando estabilidade com o teste da exponencial\n"
        printf "Resultado real: exp( 1.000000 ) = 2.718282.\n"
        printf "y( 1.000000 ) = 2.593742 para h maior.\ny( 1.000000 ) = 2.704814 para h menor.\n"
        printf "O teste convergiu, o metodo tambem e'"'"' estavel!\n"
    }
    pause()
}' >expected
grep -c -x 'Pressione uma tecla para continuar\.\.\.' expected >prompts
