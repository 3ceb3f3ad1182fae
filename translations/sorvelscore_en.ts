<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name>CoreText</name>
    <message>
        <source>Please open the main window first</source>
        <translation>Please open the main window first</translation>
    </message>
    <message>
        <source>Please open or select the main window and try again</source>
        <translation>Please open or select the main window and try again</translation>
    </message>
    <message>
        <source>範囲指定が不正です。</source>
        <translation>The range is not valid.</translation>
    </message>
    <message>
        <source>認識できないファイル形式です。</source>
        <translation>The file format is not recognised.</translation>
    </message>
    <message>
        <source>コードエラー</source>
        <translation>Pattern error</translation>
    </message>
    <message>
        <source>コードを選択してください</source>
        <translation>Select a pattern row first.</translation>
    </message>
    <message>
        <source>Can&apos;t open file 

%1</source>
        <translation>Can&apos;t open file 

%1</translation>
    </message>
    <message>
        <source>Can&apos;t open file %1</source>
        <translation>Can&apos;t open file %1</translation>
    </message>
    <message>
        <source>end</source>
        <translation>end</translation>
    </message>
    <message>
        <source>select &quot;SET&quot; data folder</source>
        <translation>select &quot;SET&quot; data folder</translation>
    </message>
    <message>
        <source>Can&apos;t find &quot;SET&quot; data .

Please check the location of the &quot;set&quot; folder 
and launch Sorvel Score again .

Bye!</source>
        <translation>Can&apos;t find &quot;SET&quot; data .

Please check the location of the &quot;set&quot; folder 
and launch Sorvel Score again .

Bye!</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>There is not enough memory to open this file. The other windows are not affected.</source>
        <translation>There is not enough memory to open this file. The other windows are not affected.</translation>
    </message>
    <message>
        <source>The file %1 could not be imported.</source>
        <translation>The file %1 could not be imported.</translation>
    </message>
    <message>
        <source>Some of %1 could not be carried over:</source>
        <translation>Some of %1 could not be carried over:</translation>
    </message>
    <message>
        <source>The title &quot;%1&quot; is used as the file name %2.</source>
        <translation>The title &quot;%1&quot; is used as the file name %2.</translation>
    </message>
    <message>
        <source>Unsaved scores left by an earlier session could not be read.</source>
        <translation>Unsaved scores left by an earlier session could not be read.</translation>
    </message>
    <message>
        <source>They are kept as:</source>
        <translation>They are kept as:</translation>
    </message>
    <message>
        <source>%1 is a MusicXML file, not a score file.</source>
        <translation>%1 is a MusicXML file, not a score file.</translation>
    </message>
    <message>
        <source>Import its melody into a new score window? (File &gt; Import does the same.)</source>
        <translation>Import its melody into a new score window? (File &gt; Import does the same.)</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>The clipboard holds no score cells; nothing was pasted.</source>
        <translation>The clipboard holds no score cells; nothing was pasted.</translation>
    </message>
    <message>
        <source>Unknown export format.</source>
        <translation>Unknown export format.</translation>
    </message>
    <message>
        <source>Could not read %1: %2.</source>
        <translation>Could not read %1: %2.</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>the file is too large (%1 bytes)</source>
        <translation>the file is too large (%1 bytes)</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>it cannot be opened</source>
        <translation>it cannot be opened</translation>
    </message>
    <message>
        <source>a read error occurred</source>
        <translation>a read error occurred</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>The file is not UTF-8 text (invalid byte at offset %1).</source>
        <translation>The file is not UTF-8 text (invalid byte at offset %1).</translation>
    </message>
    <message>
        <source>the first line does not begin with &quot;&lt;&quot;</source>
        <translation>the first line does not begin with &quot;&lt;&quot;</translation>
    </message>
    <message>
        <source>the header has fewer than four fields</source>
        <translation>the header has fewer than four fields</translation>
    </message>
    <message>
        <source>header field 3 or 4 is not an integer</source>
        <translation>header field 3 or 4 is not an integer</translation>
    </message>
    <message>
        <source>header field 6 or 7 is not an integer</source>
        <translation>header field 6 or 7 is not an integer</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>line %1</translation>
    </message>
    <message>
        <source>%1: the chord line has %2 characters; a chord line holds at most %3</source>
        <translation>%1: the chord line has %2 characters; a chord line holds at most %3</translation>
    </message>
    <message>
        <source>%1: cell line %2 has no second field</source>
        <translation>%1: cell line %2 has no second field</translation>
    </message>
    <message>
        <source>%1: cell line %2 does not hold two integers</source>
        <translation>%1: cell line %2 does not hold two integers</translation>
    </message>
    <message>
        <source>%1: cell line %2 is outside the tables</source>
        <translation>%1: cell line %2 is outside the tables</translation>
    </message>
    <message>
        <source>%1 is not a file on this computer.</source>
        <translation>%1 is not a file on this computer.</translation>
    </message>
    <message>
        <source>%1 does not name a file.</source>
        <translation>%1 does not name a file.</translation>
    </message>
    <message>
        <source>The copied cells are in order.</source>
        <translation>The copied cells are in order.</translation>
    </message>
    <message>
        <source>The clipboard holds no cells.</source>
        <translation>The clipboard holds no cells.</translation>
    </message>
    <message>
        <source>The copied cells on the clipboard are too many to paste.</source>
        <translation>The copied cells on the clipboard are too many to paste.</translation>
    </message>
    <message>
        <source>The cells on the clipboard are damaged; nothing was pasted.</source>
        <translation>The cells on the clipboard are damaged; nothing was pasted.</translation>
    </message>
    <message>
        <source>The cells on the clipboard come from a newer version of Sorvel Score; nothing was pasted.</source>
        <translation>The cells on the clipboard come from a newer version of Sorvel Score; nothing was pasted.</translation>
    </message>
    <message>
        <source>The cells on the clipboard hold a pitch this score cannot show; nothing was pasted.</source>
        <translation>The cells on the clipboard hold a pitch this score cannot show; nothing was pasted.</translation>
    </message>
    <message>
        <source>The cells on the clipboard hold a note value this score cannot show; nothing was pasted.</source>
        <translation>The cells on the clipboard hold a note value this score cannot show; nothing was pasted.</translation>
    </message>
    <message>
        <source>The cells on the clipboard cannot be pasted.</source>
        <translation>The cells on the clipboard cannot be pasted.</translation>
    </message>
    <message>
        <source>Tempo must be a whole number from 1 to %1.</source>
        <translation>Tempo must be a whole number from 1 to %1.</translation>
    </message>
    <message>
        <source>Beats per bar must be a whole number from 1 to %1.</source>
        <translation>Beats per bar must be a whole number from 1 to %1.</translation>
    </message>
    <message>
        <source>There is no sound output to play on.</source>
        <translation>There is no sound output to play on.</translation>
    </message>
    <message>
        <source>No sound output</source>
        <translation>No sound output</translation>
    </message>
    <message>
        <source>The sound output has no usable format</source>
        <translation>The sound output has no usable format</translation>
    </message>
    <message>
        <source>No microphone</source>
        <translation>No microphone</translation>
    </message>
    <message>
        <source>No microphone: %1</source>
        <translation>No microphone: %1</translation>
    </message>
    <message>
        <source>The reference pitch %1 Hz gives no pitch table</source>
        <translation>The reference pitch %1 Hz gives no pitch table</translation>
    </message>
    <message>
        <source>The microphone&apos;s sample rate is not usable</source>
        <translation>The microphone&apos;s sample rate is not usable</translation>
    </message>
    <message>
        <source>The pattern table could not be read.</source>
        <translation>The pattern table could not be read.</translation>
    </message>
    <message>
        <source>The pattern table could not be saved.</source>
        <translation>The pattern table could not be saved.</translation>
    </message>
    <message>
        <source>Chord symbols find no patterns until it is mended, and the file is left as it is.</source>
        <translation>Chord symbols find no patterns until it is mended, and the file is left as it is.</translation>
    </message>
    <message>
        <source>The file changed since start-up and is left as it is; the changes made to the table in this session are not saved.</source>
        <translation>The file changed since start-up and is left as it is; the changes made to the table in this session are not saved.</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text (invalid byte at offset %2).</source>
        <translation>%1 is not UTF-8 text (invalid byte at offset %2).</translation>
    </message>
    <message>
        <source>%1 has more than %2 rows, too many for a pattern table.</source>
        <translation>%1 has more than %2 rows, too many for a pattern table.</translation>
    </message>
    <message>
        <source>There is no such cell in the pattern table.</source>
        <translation>There is no such cell in the pattern table.</translation>
    </message>
    <message>
        <source>A pattern name or offset list cannot hold a comma or a line break.</source>
        <translation>A pattern name or offset list cannot hold a comma or a line break.</translation>
    </message>
    <message>
        <source>The sample rate must lie between 8000 and 192000 Hz.</source>
        <translation>The sample rate must lie between 8000 and 192000 Hz.</translation>
    </message>
    <message>
        <source>The tempo must be a positive number of beats per minute.</source>
        <translation>The tempo must be a positive number of beats per minute.</translation>
    </message>
    <message>
        <source>The recording would be too long for a WAV file (more than %1 hours).</source>
        <translation>The recording would be too long for a WAV file (more than %1 hours).</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>The file could not be created.</source>
        <translation>The file could not be created.</translation>
    </message>
    <message>
        <source>Out of memory while compressing the score.</source>
        <translation>Out of memory while compressing the score.</translation>
    </message>
    <message>
        <source>The score could not be compressed: %1.</source>
        <translation>The score could not be compressed: %1.</translation>
    </message>
    <message>
        <source>the archive could not be read back</source>
        <translation>the archive could not be read back</translation>
    </message>
    <message>
        <source>The file is too large to be a melody (more than %1 MB).</source>
        <translation>The file is too large to be a melody (more than %1 MB).</translation>
    </message>
    <message>
        <source>The compressed MusicXML file is not a readable zip archive (%1).</source>
        <translation>The compressed MusicXML file is not a readable zip archive (%1).</translation>
    </message>
    <message>
        <source>The compressed MusicXML file holds more than %1 files.</source>
        <translation>The compressed MusicXML file holds more than %1 files.</translation>
    </message>
    <message>
        <source>The compressed MusicXML file has no %1.</source>
        <translation>The compressed MusicXML file has no %1.</translation>
    </message>
    <message>
        <source>The compressed MusicXML file unpacks %1 to more than %2 MB (a zip bomb); it is refused.</source>
        <translation>The compressed MusicXML file unpacks %1 to more than %2 MB (a zip bomb); it is refused.</translation>
    </message>
    <message>
        <source>%1 is too large.</source>
        <translation>%1 is too large.</translation>
    </message>
    <message>
        <source>The compressed MusicXML file cannot unpack %1 (%2).</source>
        <translation>The compressed MusicXML file cannot unpack %1 (%2).</translation>
    </message>
    <message>
        <source>The compressed MusicXML file is damaged (%1).</source>
        <translation>The compressed MusicXML file is damaged (%1).</translation>
    </message>
    <message>
        <source>The compressed MusicXML file&apos;s %1 cannot be read (%2).</source>
        <translation>The compressed MusicXML file&apos;s %1 cannot be read (%2).</translation>
    </message>
    <message>
        <source>The compressed MusicXML file&apos;s %1 names no MusicXML score.</source>
        <translation>The compressed MusicXML file&apos;s %1 names no MusicXML score.</translation>
    </message>
    <message>
        <source>The MusicXML score has no part.</source>
        <translation>The MusicXML score has no part.</translation>
    </message>
    <message>
        <source>The MusicXML score has more than %1 notes, more than a score can hold.</source>
        <translation>The MusicXML score has more than %1 notes, more than a score can hold.</translation>
    </message>
    <message>
        <source>The file cannot be read as MusicXML: %1.</source>
        <translation>The file cannot be read as MusicXML: %1.</translation>
    </message>
    <message>
        <source>The file is not well-formed XML (%1).</source>
        <translation>The file is not well-formed XML (%1).</translation>
    </message>
    <message>
        <source>Time-wise MusicXML cannot be read; please export it part-wise.</source>
        <translation>Time-wise MusicXML cannot be read; please export it part-wise.</translation>
    </message>
    <message>
        <source>The file is not a MusicXML score (its root element is &lt;%1&gt;).</source>
        <translation>The file is not a MusicXML score (its root element is &lt;%1&gt;).</translation>
    </message>
    <message>
        <source>elements are nested too deeply</source>
        <translation>elements are nested too deeply</translation>
    </message>
    <message>
        <source>the file has too many elements</source>
        <translation>the file has too many elements</translation>
    </message>
    <message>
        <source>the file declares entities, which are not accepted</source>
        <translation>the file declares entities, which are not accepted</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>Repeats are played twice, whatever number of times they ask for</source>
        <translation>Repeats are played twice, whatever number of times they ask for</translation>
    </message>
    <message>
        <source>Endings other than the first were dropped (their notes are kept)</source>
        <translation>Endings other than the first were dropped (their notes are kept)</translation>
    </message>
    <message>
        <source>Chord symbols without a root (functions, numerals) were dropped</source>
        <translation>Chord symbols without a root (functions, numerals) were dropped</translation>
    </message>
    <message>
        <source>Chord symbols with an unreadable root were dropped</source>
        <translation>Chord symbols with an unreadable root were dropped</translation>
    </message>
    <message>
        <source>Double sharps and flats in chord roots were written as single ones</source>
        <translation>Double sharps and flats in chord roots were written as single ones</translation>
    </message>
    <message>
        <source>Chord kinds we have no symbol for were written by name</source>
        <translation>Chord kinds we have no symbol for were written by name</translation>
    </message>
    <message>
        <source>Rests were added where the first voice is silent</source>
        <translation>Rests were added where the first voice is silent</translation>
    </message>
    <message>
        <source>Notes and rests too short for any cell were dropped</source>
        <translation>Notes and rests too short for any cell were dropped</translation>
    </message>
    <message>
        <source>Durations no cell can hold were rounded</source>
        <translation>Durations no cell can hold were rounded</translation>
    </message>
    <message>
        <source>Ties after triplet notes were dropped (the notes sound apart)</source>
        <translation>Ties after triplet notes were dropped (the notes sound apart)</translation>
    </message>
    <message>
        <source>Notes and rests were written as other cells of the same length</source>
        <translation>Notes and rests were written as other cells of the same length</translation>
    </message>
    <message>
        <source>Tempo changes after the first tempo were dropped</source>
        <translation>Tempo changes after the first tempo were dropped</translation>
    </message>
    <message>
        <source>Dynamics and other directions were dropped</source>
        <translation>Dynamics and other directions were dropped</translation>
    </message>
    <message>
        <source>Key signatures were not kept (the notes keep their pitches)</source>
        <translation>Key signatures were not kept (the notes keep their pitches)</translation>
    </message>
    <message>
        <source>A time signature not counted in quarter notes was rounded</source>
        <translation>A time signature not counted in quarter notes was rounded</translation>
    </message>
    <message>
        <source>Time signature changes were dropped (the bar lines stay)</source>
        <translation>Time signature changes were dropped (the bar lines stay)</translation>
    </message>
    <message>
        <source>Transpositions other than Bb and Eb were dropped</source>
        <translation>Transpositions other than Bb and Eb were dropped</translation>
    </message>
    <message>
        <source>Microtonal alterations were rounded</source>
        <translation>Microtonal alterations were rounded</translation>
    </message>
    <message>
        <source>Pitches outside A0..C2 were moved by octaves into the range</source>
        <translation>Pitches outside A0..C2 were moved by octaves into the range</translation>
    </message>
    <message>
        <source>Pitches with a spelling we do not have were respelled</source>
        <translation>Pitches with a spelling we do not have were respelled</translation>
    </message>
    <message>
        <source>Grace notes were dropped</source>
        <translation>Grace notes were dropped</translation>
    </message>
    <message>
        <source>Chord notes beyond the first note of a chord were dropped</source>
        <translation>Chord notes beyond the first note of a chord were dropped</translation>
    </message>
    <message>
        <source>Notes of other voices were dropped</source>
        <translation>Notes of other voices were dropped</translation>
    </message>
    <message>
        <source>Notes without a readable length were dropped</source>
        <translation>Notes without a readable length were dropped</translation>
    </message>
    <message>
        <source>Notes of the first voice that overlap the note before were dropped</source>
        <translation>Notes of the first voice that overlap the note before were dropped</translation>
    </message>
    <message>
        <source>Slurs, articulations and other note markings were dropped</source>
        <translation>Slurs, articulations and other note markings were dropped</translation>
    </message>
    <message>
        <source>Lyrics were dropped</source>
        <translation>Lyrics were dropped</translation>
    </message>
    <message>
        <source>Unpitched notes became rests</source>
        <translation>Unpitched notes became rests</translation>
    </message>
    <message>
        <source>Notes without a pitch became rests</source>
        <translation>Notes without a pitch became rests</translation>
    </message>
    <message>
        <source>Cue notes became rests</source>
        <translation>Cue notes became rests</translation>
    </message>
    <message>
        <source>Notes with an unreadable pitch became rests</source>
        <translation>Notes with an unreadable pitch became rests</translation>
    </message>
    <message>
        <source>Chord symbols and texts that found their column taken were moved right</source>
        <translation>Chord symbols and texts that found their column taken were moved right</translation>
    </message>
    <message>
        <source>Chord symbols beyond %1 characters on a line were dropped</source>
        <translation>Chord symbols beyond %1 characters on a line were dropped</translation>
    </message>
    <message>
        <source>Parts after the first were dropped</source>
        <translation>Parts after the first were dropped</translation>
    </message>
    <message>
        <source>Bar line styles were drawn as plain bar lines</source>
        <translation>Bar line styles were drawn as plain bar lines</translation>
    </message>
    <message>
        <source>Clefs other than the treble clef were not kept (the notes keep their pitches)</source>
        <translation>Clefs other than the treble clef were not kept (the notes keep their pitches)</translation>
    </message>
    <message>
        <source>The tempo %1 was set to %2, the nearest tempo a score offers.</source>
        <translation>The tempo %1 was set to %2, the nearest tempo a score offers.</translation>
    </message>
    <message>
        <source>%1 beat to the bar was set to %2, the nearest a score offers.</source>
        <translation>%1 beat to the bar was set to %2, the nearest a score offers.</translation>
    </message>
    <message>
        <source>%1 beats to the bar were set to %2, the nearest a score offers.</source>
        <translation>%1 beats to the bar were set to %2, the nearest a score offers.</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>%1 (bar %2): %3.</source>
        <translation>%1 (bar %2): %3.</translation>
    </message>
    <message>
        <source>%1 (bars %2): %3.</source>
        <translation>%1 (bars %2): %3.</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>The sound server has gone away: sound comes back by itself when it returns.</source>
        <translation>The sound server has gone away: sound comes back by itself when it returns.</translation>
    </message>
    <message>
        <source>no sound server</source>
        <translation>no sound server</translation>
    </message>
    <message>
        <source>no input device for 48 kHz mono float</source>
        <translation>no input device for 48 kHz mono float</translation>
    </message>
    <message>
        <source>already recording</source>
        <translation>already recording</translation>
    </message>
    <message>
        <source>• %1</source>
        <translation>• %1</translation>
    </message>
    <message>
        <source>%1 cents</source>
        <translation>%1 cents</translation>
    </message>
</context>
<context>
    <name>PrintSupport</name>
    <message>
        <source>The score has no cells to print.</source>
        <translation>The score has no cells to print.</translation>
    </message>
    <message>
        <source>Cannot write %1: the pages could not be drawn</source>
        <translation>Cannot write %1: the pages could not be drawn</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>read-only file system</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>the disk is full (%1 bytes needed, %2 free).</source>
        <translation>the disk is full (%1 bytes needed, %2 free).</translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation>no such folder</translation>
    </message>
    <message>
        <source>the folder is not on a disk (%1 file system)</source>
        <translation>the folder is not on a disk (%1 file system)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1”?</source>
        <translation>Do you want to save the changes to “%1”?</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>Your changes will be lost if you don&apos;t save them.</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Do&amp;n&apos;t Save</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Save &amp;All</translation>
    </message>
    <message>
        <source>D&amp;iscard All</source>
        <translation>D&amp;iscard All</translation>
    </message>
    <message>
        <source>Sorvel Score ended without saving these scores. Restore them as they were a few seconds before?</source>
        <translation>Sorvel Score ended without saving these scores. Restore them as they were a few seconds before?</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Discard</translation>
    </message>
    <message>
        <source>Save Score</source>
        <translation>Save Score</translation>
    </message>
    <message>
        <source>Open Score</source>
        <translation>Open Score</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Write, hear and practise melodies.
Version %1</source>
        <translation>Write, hear and practise melodies.
Version %1</translation>
    </message>
    <message>
        <source>Notation font made from Emmentaler (SIL Open Font License 1.1).</source>
        <translation>Notation font made from Emmentaler (SIL Open Font License 1.1).</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>(takes effect at the next start)</source>
        <translation>(takes effect at the next start)</translation>
    </message>
    <message>
        <source>Next pitch up, sharps and flats included</source>
        <translation>Next pitch up, sharps and flats included</translation>
    </message>
    <message>
        <source>Next natural pitch up</source>
        <translation>Next natural pitch up</translation>
    </message>
    <message>
        <source>Next natural pitch down</source>
        <translation>Next natural pitch down</translation>
    </message>
    <message>
        <source>Next pitch down, sharps and flats included</source>
        <translation>Next pitch down, sharps and flats included</translation>
    </message>
    <message>
        <source>Octave</source>
        <translation>Octave</translation>
    </message>
    <message>
        <source>An octave up, or down from the top octave</source>
        <translation>An octave up, or down from the top octave</translation>
    </message>
</context>
<context>
    <name>QtFileDialogs</name>
    <message>
        <source>Scores (*.sorvel *.txt);;Sorvel scores (*.sorvel);;All files (*)</source>
        <translation>Scores (*.sorvel *.txt);;Sorvel scores (*.sorvel);;All files (*)</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::KeyboardMapWindow</name>
    <message>
        <source>whole</source>
        <translation>whole</translation>
    </message>
    <message>
        <source>half</source>
        <translation>half</translation>
    </message>
    <message>
        <source>quarter</source>
        <translation>quarter</translation>
    </message>
    <message>
        <source>eighth</source>
        <translation>eighth</translation>
    </message>
    <message>
        <source>sixteenth</source>
        <translation>sixteenth</translation>
    </message>
    <message>
        <source>thirty-second</source>
        <translation>thirty-second</translation>
    </message>
    <message>
        <source>blank</source>
        <translation>blank</translation>
    </message>
    <message>
        <source>dot</source>
        <translation>dot</translation>
    </message>
    <message>
        <source>bar line</source>
        <translation>bar line</translation>
    </message>
    <message>
        <source>repeat start</source>
        <translation>repeat start</translation>
    </message>
    <message>
        <source>repeat end</source>
        <translation>repeat end</translation>
    </message>
    <message>
        <source>first ending</source>
        <translation>first ending</translation>
    </message>
    <message>
        <source>%1 note</source>
        <translation>%1 note</translation>
    </message>
    <message>
        <source>%1 rest</source>
        <translation>%1 rest</translation>
    </message>
    <message>
        <source>bar</source>
        <translation>bar</translation>
    </message>
    <message>
        <source>rest</source>
        <translation>rest</translation>
    </message>
    <message>
        <source>up ♯</source>
        <translation>up ♯</translation>
    </message>
    <message>
        <source>up</source>
        <translation>up</translation>
    </message>
    <message>
        <source>down</source>
        <translation>down</translation>
    </message>
    <message>
        <source>down ♭</source>
        <translation>down ♭</translation>
    </message>
    <message>
        <source>octave</source>
        <translation>octave</translation>
    </message>
    <message>
        <source>select left</source>
        <translation>select left</translation>
    </message>
    <message>
        <source>select right</source>
        <translation>select right</translation>
    </message>
    <message>
        <source>write</source>
        <translation>write</translation>
    </message>
    <message>
        <source>insert</source>
        <translation>insert</translation>
    </message>
    <message>
        <source>add</source>
        <translation>add</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>delete</translation>
    </message>
    <message>
        <source>triplet</source>
        <translation>triplet</translation>
    </message>
    <message>
        <source>tie</source>
        <translation>tie</translation>
    </message>
    <message>
        <source>other form</source>
        <translation>other form</translation>
    </message>
    <message>
        <source>play / stop</source>
        <translation>play / stop</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Keyboard map</source>
        <translation>Keyboard map</translation>
    </message>
    <message>
        <source>Piano key: %1 (Shift: %2)</source>
        <translation>Piano key: %1 (Shift: %2)</translation>
    </message>
    <message>
        <source>Piano key: %1</source>
        <translation>Piano key: %1</translation>
    </message>
    <message>
        <source>Note value: %1</source>
        <translation>Note value: %1</translation>
    </message>
    <message>
        <source>Note value: %1 (Shift: %2)</source>
        <translation>Note value: %1 (Shift: %2)</translation>
    </message>
    <message>
        <source>Entry pitch: %1</source>
        <translation>Entry pitch: %1</translation>
    </message>
    <message>
        <source>Entry pitch: %1 (Shift: %2)</source>
        <translation>Entry pitch: %1 (Shift: %2)</translation>
    </message>
    <message>
        <source>stop typing</source>
        <translation>stop typing</translation>
    </message>
    <message>
        <source>Gives the keys back to the score from a field</source>
        <translation>Gives the keys back to the score from a field</translation>
    </message>
    <message>
        <source>White and black keys are the piano (Shift: an octave up); the note glyphs choose the note value (Shift: the rest). Keys work while no field is being edited.</source>
        <translation>White and black keys are the piano (Shift: an octave up); the note glyphs choose the note value (Shift: the rest). Keys work while no field is being edited.</translation>
    </message>
    <message>
        <source>Legends: %1.</source>
        <translation>Legends: %1.</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::PatternTableModel</name>
    <message>
        <source>key</source>
        <translation>key</translation>
    </message>
    <message>
        <source>offsets</source>
        <translation>offsets</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::PhraseBuilderWindow</name>
    <message>
        <source>Phrase Builder</source>
        <translation>Phrase Builder</translation>
    </message>
    <message>
        <source>Phrase</source>
        <translation>Phrase</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>C&amp;hord symbols</source>
        <translation>C&amp;hord symbols</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Root</translation>
    </message>
    <message>
        <source>Bass clef</source>
        <translation>Bass clef</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Up</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>&amp;Down</translation>
    </message>
    <message>
        <source>&amp;Chords</source>
        <translation>&amp;Chords</translation>
    </message>
    <message>
        <source>&amp;Add to line</source>
        <translation>&amp;Add to line</translation>
    </message>
    <message>
        <source>Circle of &amp;4ths</source>
        <translation>Circle of &amp;4ths</translation>
    </message>
    <message>
        <source>Circle (sh&amp;ort)</source>
        <translation>Circle (sh&amp;ort)</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>&amp;Send to score</source>
        <translation>&amp;Send to score</translation>
    </message>
    <message>
        <source>Add pattern</source>
        <translation>Add pattern</translation>
    </message>
    <message>
        <source>Delete pattern</source>
        <translation>Delete pattern</translation>
    </message>
    <message>
        <source>Treble clef</source>
        <translation>Treble clef</translation>
    </message>
    <message>
        <source>No notes: the chord symbols name no root or pattern.</source>
        <translation>No notes: the chord symbols name no root or pattern.</translation>
    </message>
    <message>
        <source>There is no score to send the line to: choose a score window and open the Phrase Builder from it again.</source>
        <translation>There is no score to send the line to: choose a score window and open the Phrase Builder from it again.</translation>
    </message>
    <message>
        <source>Nothing was sent: the line is empty. Build a phrase, then press &quot;Add to line&quot; (or type notes into the line) and send again.</source>
        <translation>Nothing was sent: the line is empty. Build a phrase, then press &quot;Add to line&quot; (or type notes into the line) and send again.</translation>
    </message>
    <message>
        <source>Nothing was sent: the line holds no note names or marks (%1).</source>
        <translation>Nothing was sent: the line holds no note names or marks (%1).</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::ReplaceWindow</name>
    <message>
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>Replace the found pitch in every octave throughout the score</source>
        <translation>Replace the found pitch in every octave throughout the score</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::ScoreWindow</name>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>▲ Page up</source>
        <translation>▲ Page up</translation>
    </message>
    <message>
        <source>Show the previous line on top (Page Up)</source>
        <translation>Show the previous line on top (Page Up)</translation>
    </message>
    <message>
        <source>▼ Page down</source>
        <translation>▼ Page down</translation>
    </message>
    <message>
        <source>Show the next line on top (Page Down)</source>
        <translation>Show the next line on top (Page Down)</translation>
    </message>
    <message>
        <source>Lines in score:</source>
        <translation>Lines in score:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Entry</translation>
    </message>
    <message>
        <source>Pitch</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>♯ ▲</source>
        <translation>♯ ▲</translation>
    </message>
    <message>
        <source>Next pitch up, sharps and flats included (Shift+Up)</source>
        <translation>Next pitch up, sharps and flats included (Shift+Up)</translation>
    </message>
    <message>
        <source>▲</source>
        <translation>▲</translation>
    </message>
    <message>
        <source>Next natural pitch up (Up)</source>
        <translation>Next natural pitch up (Up)</translation>
    </message>
    <message>
        <source>▼</source>
        <translation>▼</translation>
    </message>
    <message>
        <source>Next natural pitch down (Down)</source>
        <translation>Next natural pitch down (Down)</translation>
    </message>
    <message>
        <source>♭ ▼</source>
        <translation>♭ ▼</translation>
    </message>
    <message>
        <source>Next pitch down, sharps and flats included (Shift+Down)</source>
        <translation>Next pitch down, sharps and flats included (Shift+Down)</translation>
    </message>
    <message>
        <source>Octave</source>
        <translation>Octave</translation>
    </message>
    <message>
        <source>An octave up, or down from the top octave (])</source>
        <translation>An octave up, or down from the top octave (])</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>1/2</source>
        <translation>1/2</translation>
    </message>
    <message>
        <source>1/4</source>
        <translation>1/4</translation>
    </message>
    <message>
        <source>1/8</source>
        <translation>1/8</translation>
    </message>
    <message>
        <source>1/16</source>
        <translation>1/16</translation>
    </message>
    <message>
        <source>1/32</source>
        <translation>1/32</translation>
    </message>
    <message>
        <source>whole</source>
        <translation>whole</translation>
    </message>
    <message>
        <source>half</source>
        <translation>half</translation>
    </message>
    <message>
        <source>quarter</source>
        <translation>quarter</translation>
    </message>
    <message>
        <source>eighth</source>
        <translation>eighth</translation>
    </message>
    <message>
        <source>sixteenth</source>
        <translation>sixteenth</translation>
    </message>
    <message>
        <source>thirty-second</source>
        <translation>thirty-second</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>Blank</translation>
    </message>
    <message>
        <source>Dot</source>
        <translation>Dot</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>Bar</translation>
    </message>
    <message>
        <source>|:</source>
        <translation>|:</translation>
    </message>
    <message>
        <source>:|</source>
        <translation>:|</translation>
    </message>
    <message>
        <source>1.</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>%1 rest</source>
        <translation>%1 rest</translation>
    </message>
    <message>
        <source>Triplet</source>
        <translation>Triplet</translation>
    </message>
    <message>
        <source>Triplet or not (9)</source>
        <translation>Triplet or not (9)</translation>
    </message>
    <message>
        <source>Tie</source>
        <translation>Tie</translation>
    </message>
    <message>
        <source>Tied to the next note or not (8)</source>
        <translation>Tied to the next note or not (8)</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Write the entry over the selected cell (Return)</source>
        <translation>Write the entry over the selected cell (Return)</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Insert the entry before the selected cell (/)</source>
        <translation>Insert the entry before the selected cell (/)</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Insert the entry after the selected cell (, or, on JIS keyboards, _)</source>
        <translation>Insert the entry after the selected cell (, or, on JIS keyboards, _)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Delete the selected cells (Backspace)</source>
        <translation>Delete the selected cells (Backspace)</translation>
    </message>
    <message>
        <source>Transpose</source>
        <translation>Transpose</translation>
    </message>
    <message>
        <source>Semitone ▲</source>
        <translation>Semitone ▲</translation>
    </message>
    <message>
        <source>Transpose the score, or the selected cells, a semitone up</source>
        <translation>Transpose the score, or the selected cells, a semitone up</translation>
    </message>
    <message>
        <source>Semitone ▼</source>
        <translation>Semitone ▼</translation>
    </message>
    <message>
        <source>Transpose the score, or the selected cells, a semitone down</source>
        <translation>Transpose the score, or the selected cells, a semitone down</translation>
    </message>
    <message>
        <source>Chords too</source>
        <translation>Chords too</translation>
    </message>
    <message>
        <source>Transposing the whole score also transposes the chord symbols</source>
        <translation>Transposing the whole score also transposes the chord symbols</translation>
    </message>
    <message>
        <source>Play the score from the selected cell, or stop (Space)</source>
        <translation>Play the score from the selected cell, or stop (Space)</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Instrument in</source>
        <translation>Instrument in</translation>
    </message>
    <message>
        <source>Beats</source>
        <translation>Beats</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>Concert pitch of A in Hz; press Return to apply</source>
        <translation>Concert pitch of A in Hz; press Return to apply</translation>
    </message>
    <message>
        <source>A = Hz</source>
        <translation>A = Hz</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Selection</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>To</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Chords</source>
        <translation>Chords</translation>
    </message>
    <message>
        <source>A chord line holds at most %1 characters: the text that would make line %2 longer was not taken.</source>
        <translation>A chord line holds at most %1 characters: the text that would make line %2 longer was not taken.</translation>
    </message>
    <message>
        <source>The entry cell: the note you are writing. Piano keys (A S D F … and W R T …) set its pitch, 1–6 its note value; Return writes it over the selected cell.</source>
        <translation>The entry cell: the note you are writing. Piano keys (A S D F … and W R T …) set its pitch, 1–6 its note value; Return writes it over the selected cell.</translation>
    </message>
    <message>
        <source>Entry cell</source>
        <translation>Entry cell</translation>
    </message>
    <message>
        <source>Empty cell</source>
        <translation>Empty cell</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Dotted or not</source>
        <translation>Dotted or not</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>Bar line</source>
        <translation>Bar line</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Repeat start</source>
        <translation>Repeat start</translation>
    </message>
    <message>
        <source>=</source>
        <translation>=</translation>
    </message>
    <message>
        <source>Repeat end</source>
        <translation>Repeat end</translation>
    </message>
    <message>
        <source>` or, on JIS keyboards, ¥</source>
        <translation>` or, on JIS keyboards, ¥</translation>
    </message>
    <message>
        <source>First ending</source>
        <translation>First ending</translation>
    </message>
    <message>
        <source>Shift+=</source>
        <translation>Shift+=</translation>
    </message>
    <message>
        <source>%1 note</source>
        <translation>%1 note</translation>
    </message>
    <message>
        <source>Shift+%1</source>
        <translation>Shift+%1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Chord symbols of the line below, typed where they belong (Escape gives the keys back to the score)</source>
        <translation>Chord symbols of the line below, typed where they belong (Escape gives the keys back to the score)</translation>
    </message>
    <message>
        <source>Chord symbols of line %1</source>
        <translation>Chord symbols of line %1</translation>
    </message>
    <message>
        <source>The line of the score this staff shows</source>
        <translation>The line of the score this staff shows</translation>
    </message>
    <message>
        <source>Click a cell to select it, Shift+click to select up to it. The arrow keys move the selection; Return writes the entry cell over it.</source>
        <translation>Click a cell to select it, Shift+click to select up to it. The arrow keys move the selection; Return writes the entry cell over it.</translation>
    </message>
    <message>
        <source>Staff of line %1</source>
        <translation>Staff of line %1</translation>
    </message>
    <message>
        <source>The staves&apos; size: View &gt; Zoom In, Zoom Out, Actual Size, Fit</source>
        <translation>The staves&apos; size: View &gt; Zoom In, Zoom Out, Actual Size, Fit</translation>
    </message>
    <message>
        <source>The home row from A is a piano (the row above: black keys, Shift: an octave up) · 1–6 note values · Return writes the entry · F1: all keys</source>
        <translation>The home row from A is a piano (the row above: black keys, Shift: an octave up) · 1–6 note values · Return writes the entry · F1: all keys</translation>
    </message>
    <message>
        <source>Typing into a field · Escape gives the keys back to the score</source>
        <translation>Typing into a field · Escape gives the keys back to the score</translation>
    </message>
    <message>
        <source>Escape gives the keys back to the score</source>
        <translation>Escape gives the keys back to the score</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Actual Size</translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation>&amp;Fit to Window</translation>
    </message>
    <message>
        <source>Fit (%1 %)</source>
        <translation>Fit (%1 %)</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::SorvelApplication</name>
    <message>
        <source>No recent scores</source>
        <translation>No recent scores</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Open &amp;Recent</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Save &amp;As…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;Preferences…</source>
        <translation>&amp;Preferences…</translation>
    </message>
    <message>
        <source>Choose Set &amp;Folder…</source>
        <translation>Choose Set &amp;Folder…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>&amp;Score</source>
        <translation>&amp;Score</translation>
    </message>
    <message>
        <source>Page &amp;Up</source>
        <translation>Page &amp;Up</translation>
    </message>
    <message>
        <source>Page &amp;Down</source>
        <translation>Page &amp;Down</translation>
    </message>
    <message>
        <source>&amp;Song</source>
        <translation>&amp;Song</translation>
    </message>
    <message>
        <source>&amp;Exercise</source>
        <translation>&amp;Exercise</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;About Sorvel Score</source>
        <translation>&amp;About Sorvel Score</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>A&amp;dd</translation>
    </message>
    <message>
        <source>E&amp;xport</source>
        <translation>E&amp;xport</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The score could not be exported to %1.</source>
        <translation>The score could not be exported to %1.</translation>
    </message>
    <message>
        <source>I&amp;mport MusicXML…</source>
        <translation>I&amp;mport MusicXML…</translation>
    </message>
    <message>
        <source>MusicXML (*.musicxml *.xml *.mxl);;All files (*)</source>
        <translation>MusicXML (*.musicxml *.xml *.mxl);;All files (*)</translation>
    </message>
    <message>
        <source>&amp;Phrase Builder…</source>
        <translation>&amp;Phrase Builder…</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>&amp;Metronome</source>
        <translation>&amp;Metronome</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>Set folder:</source>
        <translation>Set folder:</translation>
    </message>
    <message>
        <source>The set folder holds the picture sets and scale.csv. A new folder takes effect at the next start.</source>
        <translation>The set folder holds the picture sets and scale.csv. A new folder takes effect at the next start.</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Metronome during playback</source>
        <translation>Metronome during playback</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <source>Page Set&amp;up…</source>
        <translation>Page Set&amp;up…</translation>
    </message>
    <message>
        <source>Pr&amp;int…</source>
        <translation>Pr&amp;int…</translation>
    </message>
    <message>
        <source>&amp;Export PDF…</source>
        <translation>&amp;Export PDF…</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>Untitled %1</translation>
    </message>
    <message>
        <source>&amp;Tuner</source>
        <translation>&amp;Tuner</translation>
    </message>
    <message>
        <source>&amp;Replace…</source>
        <translation>&amp;Replace…</translation>
    </message>
    <message>
        <source>&amp;MusicXML…</source>
        <translation>&amp;MusicXML…</translation>
    </message>
    <message>
        <source>MusicXML (*.musicxml *.xml)</source>
        <translation>MusicXML (*.musicxml *.xml)</translation>
    </message>
    <message>
        <source>&amp;Compressed MusicXML…</source>
        <translation>&amp;Compressed MusicXML…</translation>
    </message>
    <message>
        <source>Compressed MusicXML (*.mxl)</source>
        <translation>Compressed MusicXML (*.mxl)</translation>
    </message>
    <message>
        <source>M&amp;IDI…</source>
        <translation>M&amp;IDI…</translation>
    </message>
    <message>
        <source>Standard MIDI File (*.mid *.midi)</source>
        <translation>Standard MIDI File (*.mid *.midi)</translation>
    </message>
    <message>
        <source>&amp;WAV…</source>
        <translation>&amp;WAV…</translation>
    </message>
    <message>
        <source>WAV audio (*.wav)</source>
        <translation>WAV audio (*.wav)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Keyboard</source>
        <translation>&amp;Keyboard</translation>
    </message>
    <message>
        <source>User &amp;Guide</source>
        <translation>User &amp;Guide</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::TunerWindow</name>
    <message>
        <source>Tuner</source>
        <translation>Tuner</translation>
    </message>
    <message>
        <source>Start or stop the reference tone</source>
        <translation>Start or stop the reference tone</translation>
    </message>
    <message>
        <source>Listen to the microphone and show the played note</source>
        <translation>Listen to the microphone and show the played note</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>A = %1 Hz</source>
        <translation>A = %1 Hz</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Listening</translation>
    </message>
    <message>
        <source>The note&apos;s name here, and in brackets its scientific name (A4 = 440 Hz)</source>
        <translation>The note&apos;s name here, and in brackets its scientific name (A4 = 440 Hz)</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::UserGuideWindow</name>
    <message>
        <source>Sorvel Score User Guide</source>
        <translation>Sorvel Score User Guide</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>index.html</source>
        <comment>the guide&apos;s first page, relative to guide/</comment>
        <translation>index.html</translation>
    </message>
    <message>
        <source>The user guide is not installed: %1 is missing.</source>
        <translation>The user guide is not installed: %1 is missing.</translation>
    </message>
</context>
</TS>
