#!/usr/bin/perl
# troff-escape.pl IN OUT: copies the manual page IN (UTF-8) to OUT with
# every character outside ASCII written as groff's escape \[uXXXX] (its
# Unicode code point in upper-case hexadecimal), so that the installed page
# is plain ASCII. A byte sequence that is not UTF-8 stops the copy.
use strict;
use warnings FATAL => 'all';

die "usage: troff-escape.pl IN OUT\n" unless @ARGV == 2;
my ($in, $out) = @ARGV;
open(my $source, '<:encoding(UTF-8)', $in) or die "troff-escape.pl: $in: $!\n";
open(my $page, '>:raw', $out) or die "troff-escape.pl: $out: $!\n";
while (my $line = <$source>) {
  $line =~ s/([^\x00-\x7F])/sprintf('\\[u%04X]', ord($1))/ge;
  print $page $line or die "troff-escape.pl: $out: $!\n";
}
close($page) or die "troff-escape.pl: $out: $!\n";
