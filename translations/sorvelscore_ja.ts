<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>CoreText</name>
    <message>
        <source>Please open the main window first</source>
        <translation>先にメインウィンドウを開いてください</translation>
    </message>
    <message>
        <source>Please open or select the main window and try again</source>
        <translation>メインウィンドウを開くか選択してから、もう一度お試しください</translation>
    </message>
    <message>
        <source>範囲指定が不正です。</source>
        <translation>範囲指定が不正です。</translation>
    </message>
    <message>
        <source>認識できないファイル形式です。</source>
        <translation>認識できないファイル形式です。</translation>
    </message>
    <message>
        <source>コードエラー</source>
        <translation>コードエラー</translation>
    </message>
    <message>
        <source>コードを選択してください</source>
        <translation>コードを選択してください</translation>
    </message>
    <message>
        <source>Can&apos;t open file 

%1</source>
        <translation>ファイルを開けません

%1</translation>
    </message>
    <message>
        <source>Can&apos;t open file %1</source>
        <translation>ファイル %1 を開けません</translation>
    </message>
    <message>
        <source>end</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>select &quot;SET&quot; data folder</source>
        <translation>「SET」データフォルダを選択してください</translation>
    </message>
    <message>
        <source>Can&apos;t find &quot;SET&quot; data .

Please check the location of the &quot;set&quot; folder 
and launch Sorvel Score again .

Bye!</source>
        <translation>「SET」データが見つかりません。

「set」フォルダの場所を確認して、
Sorvel Score をもう一度起動してください。

終了します。</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <translation>ファイルを保存できませんでした。</translation>
    </message>
    <message>
        <source>There is not enough memory to open this file. The other windows are not affected.</source>
        <translation>このファイルを開くにはメモリが足りません。ほかのウィンドウには影響ありません。</translation>
    </message>
    <message>
        <source>The file %1 could not be imported.</source>
        <translation>ファイル %1 を読み込めませんでした。</translation>
    </message>
    <message>
        <source>Some of %1 could not be carried over:</source>
        <translation>%1 の一部は引き継げませんでした:</translation>
    </message>
    <message>
        <source>The title &quot;%1&quot; is used as the file name %2.</source>
        <translation>タイトル「%1」をファイル名 %2 として使います。</translation>
    </message>
    <message>
        <source>Unsaved scores left by an earlier session could not be read.</source>
        <translation>前回のセッションで保存されなかった楽譜を読み込めませんでした。</translation>
    </message>
    <message>
        <source>They are kept as:</source>
        <translation>次のファイルとして残してあります:</translation>
    </message>
    <message>
        <source>%1 is a MusicXML file, not a score file.</source>
        <translation>%1 は楽譜ファイルではなく MusicXML ファイルです。</translation>
    </message>
    <message>
        <source>Import its melody into a new score window? (File &gt; Import does the same.)</source>
        <translation>このメロディを新しい楽譜ウィンドウに読み込みますか?(「ファイル &gt; MusicXML を読み込む」と同じです。)</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>読み込む</translation>
    </message>
    <message>
        <source>The clipboard holds no score cells; nothing was pasted.</source>
        <translation>クリップボードに楽譜のセルがないため、何も貼り付けていません。</translation>
    </message>
    <message>
        <source>Unknown export format.</source>
        <translation>不明な書き出し形式です。</translation>
    </message>
    <message>
        <source>Could not read %1: %2.</source>
        <translation>%1 を読み込めませんでした: %2。</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>ファイルがありません</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>ファイルではなくフォルダです</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>the file is too large (%1 bytes)</source>
        <translation>ファイルが大きすぎます(%1 バイト)</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>ファイルが大きすぎます</translation>
    </message>
    <message>
        <source>it cannot be opened</source>
        <translation>開けません</translation>
    </message>
    <message>
        <source>a read error occurred</source>
        <translation>読み込みエラーが発生しました</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>アクセス権がありません</translation>
    </message>
    <message>
        <source>The file is not UTF-8 text (invalid byte at offset %1).</source>
        <translation>ファイルが UTF-8 テキストではありません(オフセット %1 に不正なバイト)。</translation>
    </message>
    <message>
        <source>the first line does not begin with &quot;&lt;&quot;</source>
        <translation>1行目が「&lt;」で始まっていません</translation>
    </message>
    <message>
        <source>the header has fewer than four fields</source>
        <translation>ヘッダーの項目が4つ未満です</translation>
    </message>
    <message>
        <source>header field 3 or 4 is not an integer</source>
        <translation>ヘッダーの3番目か4番目の項目が整数ではありません</translation>
    </message>
    <message>
        <source>header field 6 or 7 is not an integer</source>
        <translation>ヘッダーの6番目か7番目の項目が整数ではありません</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>%1行目</translation>
    </message>
    <message>
        <source>%1: the chord line has %2 characters; a chord line holds at most %3</source>
        <translation>%1: コード行が %2 文字あります。コード行は最大 %3 文字です</translation>
    </message>
    <message>
        <source>%1: cell line %2 has no second field</source>
        <translation>%1: セルの行 %2 に2番目の項目がありません</translation>
    </message>
    <message>
        <source>%1: cell line %2 does not hold two integers</source>
        <translation>%1: セルの行 %2 が2つの整数になっていません</translation>
    </message>
    <message>
        <source>%1: cell line %2 is outside the tables</source>
        <translation>%1: セルの行 %2 が表の範囲外です</translation>
    </message>
    <message>
        <source>%1 is not a file on this computer.</source>
        <translation>%1 はこのコンピューター上のファイルではありません。</translation>
    </message>
    <message>
        <source>%1 does not name a file.</source>
        <translation>%1 はファイルを指していません。</translation>
    </message>
    <message>
        <source>The copied cells are in order.</source>
        <translation>コピーしたセルに問題はありません。</translation>
    </message>
    <message>
        <source>The clipboard holds no cells.</source>
        <translation>クリップボードにセルがありません。</translation>
    </message>
    <message>
        <source>The copied cells on the clipboard are too many to paste.</source>
        <translation>クリップボードのセルが多すぎて貼り付けられません。</translation>
    </message>
    <message>
        <source>The cells on the clipboard are damaged; nothing was pasted.</source>
        <translation>クリップボードのセルが壊れているため、何も貼り付けていません。</translation>
    </message>
    <message>
        <source>The cells on the clipboard come from a newer version of Sorvel Score; nothing was pasted.</source>
        <translation>クリップボードのセルは新しいバージョンの Sorvel Score のものなので、何も貼り付けていません。</translation>
    </message>
    <message>
        <source>The cells on the clipboard hold a pitch this score cannot show; nothing was pasted.</source>
        <translation>クリップボードのセルにこの楽譜で表せない音高があるため、何も貼り付けていません。</translation>
    </message>
    <message>
        <source>The cells on the clipboard hold a note value this score cannot show; nothing was pasted.</source>
        <translation>クリップボードのセルにこの楽譜で表せない音価があるため、何も貼り付けていません。</translation>
    </message>
    <message>
        <source>The cells on the clipboard cannot be pasted.</source>
        <translation>クリップボードのセルは貼り付けられません。</translation>
    </message>
    <message>
        <source>Tempo must be a whole number from 1 to %1.</source>
        <translation>テンポは 1 から %1 までの整数にしてください。</translation>
    </message>
    <message>
        <source>Beats per bar must be a whole number from 1 to %1.</source>
        <translation>1小節の拍数は 1 から %1 までの整数にしてください。</translation>
    </message>
    <message>
        <source>There is no sound output to play on.</source>
        <translation>再生できる音声出力がありません。</translation>
    </message>
    <message>
        <source>No sound output</source>
        <translation>音声出力がありません</translation>
    </message>
    <message>
        <source>The sound output has no usable format</source>
        <translation>音声出力に使える形式がありません</translation>
    </message>
    <message>
        <source>No microphone</source>
        <translation>マイクがありません</translation>
    </message>
    <message>
        <source>No microphone: %1</source>
        <translation>マイクがありません: %1</translation>
    </message>
    <message>
        <source>The reference pitch %1 Hz gives no pitch table</source>
        <translation>基準ピッチ %1 Hz では音高表を作れません</translation>
    </message>
    <message>
        <source>The microphone&apos;s sample rate is not usable</source>
        <translation>マイクのサンプリングレートが使えません</translation>
    </message>
    <message>
        <source>The pattern table could not be read.</source>
        <translation>パターン表を読み込めませんでした。</translation>
    </message>
    <message>
        <source>The pattern table could not be saved.</source>
        <translation>パターン表を保存できませんでした。</translation>
    </message>
    <message>
        <source>Chord symbols find no patterns until it is mended, and the file is left as it is.</source>
        <translation>直すまでコードネームにパターンが見つかりません。ファイルはそのままにしてあります。</translation>
    </message>
    <message>
        <source>The file changed since start-up and is left as it is; the changes made to the table in this session are not saved.</source>
        <translation>起動後にファイルが変更されたため、そのままにしてあります。今回の表の変更は保存されません。</translation>
    </message>
    <message>
        <source>%1 is not UTF-8 text (invalid byte at offset %2).</source>
        <translation>%1 は UTF-8 テキストではありません(オフセット %2 に不正なバイト)。</translation>
    </message>
    <message>
        <source>%1 has more than %2 rows, too many for a pattern table.</source>
        <translation>%1 は %2 行を超えていて、パターン表には多すぎます。</translation>
    </message>
    <message>
        <source>There is no such cell in the pattern table.</source>
        <translation>パターン表にそのセルはありません。</translation>
    </message>
    <message>
        <source>A pattern name or offset list cannot hold a comma or a line break.</source>
        <translation>パターン名とオフセットの一覧には、カンマや改行を入れられません。</translation>
    </message>
    <message>
        <source>The sample rate must lie between 8000 and 192000 Hz.</source>
        <translation>サンプリングレートは 8000 から 192000 Hz の間にしてください。</translation>
    </message>
    <message>
        <source>The tempo must be a positive number of beats per minute.</source>
        <translation>テンポは1分あたりの拍数(正の数)にしてください。</translation>
    </message>
    <message>
        <source>The recording would be too long for a WAV file (more than %1 hours).</source>
        <translation>録音が WAV ファイルには長すぎます(%1 時間を超えます)。</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>ファイルに書き込めませんでした。</translation>
    </message>
    <message>
        <source>The file could not be created.</source>
        <translation>ファイルを作成できませんでした。</translation>
    </message>
    <message>
        <source>Out of memory while compressing the score.</source>
        <translation>楽譜の圧縮中にメモリが足りなくなりました。</translation>
    </message>
    <message>
        <source>The score could not be compressed: %1.</source>
        <translation>楽譜を圧縮できませんでした: %1。</translation>
    </message>
    <message>
        <source>the archive could not be read back</source>
        <translation>圧縮ファイルを読み戻せませんでした</translation>
    </message>
    <message>
        <source>The file is too large to be a melody (more than %1 MB).</source>
        <translation>メロディのファイルとしては大きすぎます(%1 MB を超えます)。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file is not a readable zip archive (%1).</source>
        <translation>圧縮 MusicXML ファイルが読み込める zip 形式ではありません(%1)。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file holds more than %1 files.</source>
        <translation>圧縮 MusicXML ファイルに %1 個を超えるファイルが入っています。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file has no %1.</source>
        <translation>圧縮 MusicXML ファイルに %1 がありません。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file unpacks %1 to more than %2 MB (a zip bomb); it is refused.</source>
        <translation>圧縮 MusicXML ファイルの %1 は展開すると %2 MB を超えるため(zip 爆弾)、受け付けません。</translation>
    </message>
    <message>
        <source>%1 is too large.</source>
        <translation>%1 が大きすぎます。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file cannot unpack %1 (%2).</source>
        <translation>圧縮 MusicXML ファイルの %1 を展開できません(%2)。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file is damaged (%1).</source>
        <translation>圧縮 MusicXML ファイルが壊れています(%1)。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file&apos;s %1 cannot be read (%2).</source>
        <translation>圧縮 MusicXML ファイルの %1 を読み込めません(%2)。</translation>
    </message>
    <message>
        <source>The compressed MusicXML file&apos;s %1 names no MusicXML score.</source>
        <translation>圧縮 MusicXML ファイルの %1 に MusicXML の楽譜が指定されていません。</translation>
    </message>
    <message>
        <source>The MusicXML score has no part.</source>
        <translation>MusicXML の楽譜にパートがありません。</translation>
    </message>
    <message>
        <source>The MusicXML score has more than %1 notes, more than a score can hold.</source>
        <translation>MusicXML の楽譜に %1 個を超える音符があり、楽譜に入りきりません。</translation>
    </message>
    <message>
        <source>The file cannot be read as MusicXML: %1.</source>
        <translation>MusicXML として読み込めません: %1。</translation>
    </message>
    <message>
        <source>The file is not well-formed XML (%1).</source>
        <translation>ファイルが正しい XML ではありません(%1)。</translation>
    </message>
    <message>
        <source>Time-wise MusicXML cannot be read; please export it part-wise.</source>
        <translation>timewise 形式の MusicXML は読み込めません。partwise 形式で書き出してください。</translation>
    </message>
    <message>
        <source>The file is not a MusicXML score (its root element is &lt;%1&gt;).</source>
        <translation>MusicXML の楽譜ではありません(ルート要素が &lt;%1&gt; です)。</translation>
    </message>
    <message>
        <source>elements are nested too deeply</source>
        <translation>要素の入れ子が深すぎます</translation>
    </message>
    <message>
        <source>the file has too many elements</source>
        <translation>要素が多すぎます</translation>
    </message>
    <message>
        <source>the file declares entities, which are not accepted</source>
        <translation>受け付けられないエンティティが宣言されています</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>メモリが足りません</translation>
    </message>
    <message>
        <source>Repeats are played twice, whatever number of times they ask for</source>
        <translation>反復は指定の回数にかかわらず2回演奏します</translation>
    </message>
    <message>
        <source>Endings other than the first were dropped (their notes are kept)</source>
        <translation>1番かっこ以外のかっこを削除しました(音符は残っています)</translation>
    </message>
    <message>
        <source>Chord symbols without a root (functions, numerals) were dropped</source>
        <translation>ルートのないコードネーム(機能記号や度数表記)を削除しました</translation>
    </message>
    <message>
        <source>Chord symbols with an unreadable root were dropped</source>
        <translation>ルートが読めないコードネームを削除しました</translation>
    </message>
    <message>
        <source>Double sharps and flats in chord roots were written as single ones</source>
        <translation>コードのルートのダブルシャープとダブルフラットを、シャープ・フラット1つで書きました</translation>
    </message>
    <message>
        <source>Chord kinds we have no symbol for were written by name</source>
        <translation>記号のないコードの種類は名前で書きました</translation>
    </message>
    <message>
        <source>Rests were added where the first voice is silent</source>
        <translation>第1声部が鳴っていない所に休符を入れました</translation>
    </message>
    <message>
        <source>Notes and rests too short for any cell were dropped</source>
        <translation>どのセルにも短すぎる音符と休符を削除しました</translation>
    </message>
    <message>
        <source>Durations no cell can hold were rounded</source>
        <translation>セルで表せない長さを丸めました</translation>
    </message>
    <message>
        <source>Ties after triplet notes were dropped (the notes sound apart)</source>
        <translation>3連符の後のタイを削除しました(音は切れて鳴ります)</translation>
    </message>
    <message>
        <source>Notes and rests were written as other cells of the same length</source>
        <translation>音符と休符を同じ長さの別のセルで書きました</translation>
    </message>
    <message>
        <source>Tempo changes after the first tempo were dropped</source>
        <translation>最初のテンポの後のテンポ変更を削除しました</translation>
    </message>
    <message>
        <source>Dynamics and other directions were dropped</source>
        <translation>強弱記号などの指示を削除しました</translation>
    </message>
    <message>
        <source>Key signatures were not kept (the notes keep their pitches)</source>
        <translation>調号は残していません(音符の音高は変わりません)</translation>
    </message>
    <message>
        <source>A time signature not counted in quarter notes was rounded</source>
        <translation>4分音符単位でない拍子を丸めました</translation>
    </message>
    <message>
        <source>Time signature changes were dropped (the bar lines stay)</source>
        <translation>拍子の変更を削除しました(小節線は残っています)</translation>
    </message>
    <message>
        <source>Transpositions other than Bb and Eb were dropped</source>
        <translation>B♭ と E♭ 以外の移調楽器の指定を削除しました</translation>
    </message>
    <message>
        <source>Microtonal alterations were rounded</source>
        <translation>微分音の変化を丸めました</translation>
    </message>
    <message>
        <source>Pitches outside A0..C2 were moved by octaves into the range</source>
        <translation>A0〜C2 の外の音高をオクターブ単位で範囲内に移しました</translation>
    </message>
    <message>
        <source>Pitches with a spelling we do not have were respelled</source>
        <translation>表せない綴りの音高を別の綴りにしました</translation>
    </message>
    <message>
        <source>Grace notes were dropped</source>
        <translation>装飾音符を削除しました</translation>
    </message>
    <message>
        <source>Chord notes beyond the first note of a chord were dropped</source>
        <translation>和音の最初の音以外を削除しました</translation>
    </message>
    <message>
        <source>Notes of other voices were dropped</source>
        <translation>ほかの声部の音符を削除しました</translation>
    </message>
    <message>
        <source>Notes without a readable length were dropped</source>
        <translation>長さが読めない音符を削除しました</translation>
    </message>
    <message>
        <source>Notes of the first voice that overlap the note before were dropped</source>
        <translation>前の音符と重なる第1声部の音符を削除しました</translation>
    </message>
    <message>
        <source>Slurs, articulations and other note markings were dropped</source>
        <translation>スラー、アーティキュレーションなどの記号を削除しました</translation>
    </message>
    <message>
        <source>Lyrics were dropped</source>
        <translation>歌詞を削除しました</translation>
    </message>
    <message>
        <source>Unpitched notes became rests</source>
        <translation>音高のない打楽器の音符を休符にしました</translation>
    </message>
    <message>
        <source>Notes without a pitch became rests</source>
        <translation>音高のない音符を休符にしました</translation>
    </message>
    <message>
        <source>Cue notes became rests</source>
        <translation>キューの音符を休符にしました</translation>
    </message>
    <message>
        <source>Notes with an unreadable pitch became rests</source>
        <translation>音高が読めない音符を休符にしました</translation>
    </message>
    <message>
        <source>Chord symbols and texts that found their column taken were moved right</source>
        <translation>位置がふさがっていたコードネームと文字を右にずらしました</translation>
    </message>
    <message>
        <source>Chord symbols beyond %1 characters on a line were dropped</source>
        <translation>1行 %1 文字を超えるコードネームを削除しました</translation>
    </message>
    <message>
        <source>Parts after the first were dropped</source>
        <translation>2番目以降のパートを削除しました</translation>
    </message>
    <message>
        <source>Bar line styles were drawn as plain bar lines</source>
        <translation>小節線の種類を普通の小節線で描きました</translation>
    </message>
    <message>
        <source>Clefs other than the treble clef were not kept (the notes keep their pitches)</source>
        <translation>ト音記号以外の音部記号は残していません(音符の音高は変わりません)</translation>
    </message>
    <message>
        <source>The tempo %1 was set to %2, the nearest tempo a score offers.</source>
        <translation>テンポ %1 を、楽譜で選べる最も近いテンポ %2 にしました。</translation>
    </message>
    <message>
        <source>%1 beat to the bar was set to %2, the nearest a score offers.</source>
        <translation>1小節 %1 拍を、楽譜で選べる最も近い %2 にしました。</translation>
    </message>
    <message>
        <source>%1 beats to the bar were set to %2, the nearest a score offers.</source>
        <translation>1小節 %1 拍を、楽譜で選べる最も近い %2 にしました。</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2 件。</translation>
    </message>
    <message>
        <source>%1 (bar %2): %3.</source>
        <translation>%1(%2 小節目): %3 件。</translation>
    </message>
    <message>
        <source>%1 (bars %2): %3.</source>
        <translation>%1(%2 小節目): %3 件。</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1。</translation>
    </message>
    <message>
        <source>The sound server has gone away: sound comes back by itself when it returns.</source>
        <translation>サウンドサーバーが止まりました。サーバーが戻ると音も自動的に戻ります。</translation>
    </message>
    <message>
        <source>no sound server</source>
        <translation>サウンドサーバーがありません</translation>
    </message>
    <message>
        <source>no input device for 48 kHz mono float</source>
        <translation>48 kHz モノラル浮動小数点の入力デバイスがありません</translation>
    </message>
    <message>
        <source>already recording</source>
        <translation>すでに録音中です</translation>
    </message>
    <message>
        <source>• %1</source>
        <translation>• %1</translation>
    </message>
    <message>
        <source>%1 cents</source>
        <translation>%1 セント</translation>
    </message>
</context>
<context>
    <name>PrintSupport</name>
    <message>
        <source>The score has no cells to print.</source>
        <translation>楽譜に印刷するセルがありません。</translation>
    </message>
    <message>
        <source>Cannot write %1: the pages could not be drawn</source>
        <translation>%1 に書き込めません: ページを描けませんでした</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>read-only file system</source>
        <translation>読み取り専用のファイルシステムです</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>アクセス権がありません</translation>
    </message>
    <message>
        <source>the disk is full (%1 bytes needed, %2 free).</source>
        <translation>ディスクがいっぱいです(%1 バイト必要、空きは %2 バイト)。</translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation>フォルダがありません</translation>
    </message>
    <message>
        <source>the folder is not on a disk (%1 file system)</source>
        <translation>フォルダがディスク上にありません(%1 ファイルシステム)</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF の書き出し</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF ファイル (*.pdf)</translation>
    </message>
    <message>
        <source>Do you want to save the changes to “%1”?</source>
        <translation>「%1」の変更を保存しますか?</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>保存しないと変更は失われます。</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Do&amp;n&apos;t Save</source>
        <translation>保存しない(&amp;N)</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>すべて保存(&amp;A)</translation>
    </message>
    <message>
        <source>D&amp;iscard All</source>
        <translation>すべて破棄(&amp;I)</translation>
    </message>
    <message>
        <source>Sorvel Score ended without saving these scores. Restore them as they were a few seconds before?</source>
        <translation>Sorvel Score はこれらの楽譜を保存せずに終了しました。終了の数秒前の状態に復元しますか?</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>復元(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>破棄(&amp;D)</translation>
    </message>
    <message>
        <source>Save Score</source>
        <translation>楽譜の保存</translation>
    </message>
    <message>
        <source>Open Score</source>
        <translation>楽譜を開く</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Write, hear and practise melodies.
Version %1</source>
        <translation>メロディを書いて、聴いて、練習しましょう。
バージョン %1</translation>
    </message>
    <message>
        <source>Notation font made from Emmentaler (SIL Open Font License 1.1).</source>
        <translation>記譜フォントは Emmentaler をもとに作成(SIL Open Font License 1.1)。</translation>
    </message>
    <message>
        <source>System</source>
        <translation>システムに合わせる</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>言語:</translation>
    </message>
    <message>
        <source>(takes effect at the next start)</source>
        <translation>(次回の起動から有効)</translation>
    </message>
    <message>
        <source>Next pitch up, sharps and flats included</source>
        <translation>シャープ・フラットを含めて次の音へ上げる</translation>
    </message>
    <message>
        <source>Next natural pitch up</source>
        <translation>次の幹音へ上げる</translation>
    </message>
    <message>
        <source>Next natural pitch down</source>
        <translation>次の幹音へ下げる</translation>
    </message>
    <message>
        <source>Next pitch down, sharps and flats included</source>
        <translation>シャープ・フラットを含めて次の音へ下げる</translation>
    </message>
    <message>
        <source>Octave</source>
        <translation>オクターブ</translation>
    </message>
    <message>
        <source>An octave up, or down from the top octave</source>
        <translation>1オクターブ上げる。一番上のオクターブからは下げる</translation>
    </message>
</context>
<context>
    <name>QtFileDialogs</name>
    <message>
        <source>Scores (*.sorvel *.txt);;Sorvel scores (*.sorvel);;All files (*)</source>
        <translation>楽譜 (*.sorvel *.txt);;Sorvel の楽譜 (*.sorvel);;すべてのファイル (*)</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::KeyboardMapWindow</name>
    <message>
        <source>whole</source>
        <translation>全</translation>
    </message>
    <message>
        <source>half</source>
        <translation>2分</translation>
    </message>
    <message>
        <source>quarter</source>
        <translation>4分</translation>
    </message>
    <message>
        <source>eighth</source>
        <translation>8分</translation>
    </message>
    <message>
        <source>sixteenth</source>
        <translation>16分</translation>
    </message>
    <message>
        <source>thirty-second</source>
        <translation>32分</translation>
    </message>
    <message>
        <source>blank</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>dot</source>
        <translation>付点</translation>
    </message>
    <message>
        <source>bar line</source>
        <translation>小節線</translation>
    </message>
    <message>
        <source>repeat start</source>
        <translation>反復の始まり</translation>
    </message>
    <message>
        <source>repeat end</source>
        <translation>反復の終わり</translation>
    </message>
    <message>
        <source>first ending</source>
        <translation>1番かっこ</translation>
    </message>
    <message>
        <source>%1 note</source>
        <translation>%1音符</translation>
    </message>
    <message>
        <source>%1 rest</source>
        <translation>%1休符</translation>
    </message>
    <message>
        <source>bar</source>
        <translation>小節線</translation>
    </message>
    <message>
        <source>rest</source>
        <translation>休符</translation>
    </message>
    <message>
        <source>up ♯</source>
        <translation>上 ♯</translation>
    </message>
    <message>
        <source>up</source>
        <translation>上</translation>
    </message>
    <message>
        <source>down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>down ♭</source>
        <translation>下 ♭</translation>
    </message>
    <message>
        <source>octave</source>
        <translation>オクターブ</translation>
    </message>
    <message>
        <source>select left</source>
        <translation>左選択</translation>
    </message>
    <message>
        <source>select right</source>
        <translation>右選択</translation>
    </message>
    <message>
        <source>write</source>
        <translation>上書き</translation>
    </message>
    <message>
        <source>insert</source>
        <translation>挿入</translation>
    </message>
    <message>
        <source>add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>triplet</source>
        <translation>3連符</translation>
    </message>
    <message>
        <source>tie</source>
        <translation>タイ</translation>
    </message>
    <message>
        <source>other form</source>
        <translation>符尾の向き</translation>
    </message>
    <message>
        <source>play / stop</source>
        <translation>再生/停止</translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation>キーボード</translation>
    </message>
    <message>
        <source>Keyboard map</source>
        <translation>キーボードの割り当て</translation>
    </message>
    <message>
        <source>Piano key: %1 (Shift: %2)</source>
        <translation>ピアノの鍵盤: %1 (Shift: %2)</translation>
    </message>
    <message>
        <source>Piano key: %1</source>
        <translation>ピアノの鍵盤: %1</translation>
    </message>
    <message>
        <source>Note value: %1</source>
        <translation>音価: %1</translation>
    </message>
    <message>
        <source>Note value: %1 (Shift: %2)</source>
        <translation>音価: %1 (Shift: %2)</translation>
    </message>
    <message>
        <source>Entry pitch: %1</source>
        <translation>入力の音高: %1</translation>
    </message>
    <message>
        <source>Entry pitch: %1 (Shift: %2)</source>
        <translation>入力の音高: %1 (Shift: %2)</translation>
    </message>
    <message>
        <source>stop typing</source>
        <translation>入力終了</translation>
    </message>
    <message>
        <source>Gives the keys back to the score from a field</source>
        <translation>入力欄からキー操作を楽譜に戻します</translation>
    </message>
    <message>
        <source>White and black keys are the piano (Shift: an octave up); the note glyphs choose the note value (Shift: the rest). Keys work while no field is being edited.</source>
        <translation>白鍵と黒鍵がピアノです(Shift: 1オクターブ上)。音符の記号のキーで音価を選びます(Shift: 休符)。入力欄を編集していないときに使えます。</translation>
    </message>
    <message>
        <source>Legends: %1.</source>
        <translation>キー配列: %1。</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::PatternTableModel</name>
    <message>
        <source>key</source>
        <translation>キー</translation>
    </message>
    <message>
        <source>offsets</source>
        <translation>オフセット</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::PhraseBuilderWindow</name>
    <message>
        <source>Phrase Builder</source>
        <translation>フレーズビルダー</translation>
    </message>
    <message>
        <source>Phrase</source>
        <translation>フレーズ</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>ライン</translation>
    </message>
    <message>
        <source>C&amp;hord symbols</source>
        <translation>コードネーム(&amp;H)</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>ルート</translation>
    </message>
    <message>
        <source>Bass clef</source>
        <translation>ヘ音記号</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上へ(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>下へ(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Chords</source>
        <translation>コード(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Add to line</source>
        <translation>ラインに追加(&amp;A)</translation>
    </message>
    <message>
        <source>Circle of &amp;4ths</source>
        <translation>4度圏(&amp;4)</translation>
    </message>
    <message>
        <source>Circle (sh&amp;ort)</source>
        <translation>4度圏・短縮(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>再生(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Send to score</source>
        <translation>楽譜に送る(&amp;S)</translation>
    </message>
    <message>
        <source>Add pattern</source>
        <translation>パターンを追加</translation>
    </message>
    <message>
        <source>Delete pattern</source>
        <translation>パターンを削除</translation>
    </message>
    <message>
        <source>Treble clef</source>
        <translation>ト音記号</translation>
    </message>
    <message>
        <source>No notes: the chord symbols name no root or pattern.</source>
        <translation>音符がありません: コードネームにルートかパターンがありません。</translation>
    </message>
    <message>
        <source>There is no score to send the line to: choose a score window and open the Phrase Builder from it again.</source>
        <translation>ラインを送る楽譜がありません。楽譜ウィンドウを選び、そこからもう一度フレーズビルダーを開いてください。</translation>
    </message>
    <message>
        <source>Nothing was sent: the line is empty. Build a phrase, then press &quot;Add to line&quot; (or type notes into the line) and send again.</source>
        <translation>何も送っていません: ラインが空です。フレーズを作って「ラインに追加」を押し(またはラインに音符を入力し)、もう一度送ってください。</translation>
    </message>
    <message>
        <source>Nothing was sent: the line holds no note names or marks (%1).</source>
        <translation>何も送っていません: ラインに音名も記号もありません(%1)。</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::ReplaceWindow</name>
    <message>
        <source>Replace</source>
        <translation>置換</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>置換後</translation>
    </message>
    <message>
        <source>Replace the found pitch in every octave throughout the score</source>
        <translation>楽譜全体で、見つかった音をすべてのオクターブで置き換えます</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::ScoreWindow</name>
    <message>
        <source>Untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <source>▲ Page up</source>
        <translation>▲ 前のページ</translation>
    </message>
    <message>
        <source>Show the previous line on top (Page Up)</source>
        <translation>前の段を一番上に表示 (Page Up)</translation>
    </message>
    <message>
        <source>▼ Page down</source>
        <translation>▼ 次のページ</translation>
    </message>
    <message>
        <source>Show the next line on top (Page Down)</source>
        <translation>次の段を一番上に表示 (Page Down)</translation>
    </message>
    <message>
        <source>Lines in score:</source>
        <translation>楽譜の段数:</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>入力</translation>
    </message>
    <message>
        <source>Pitch</source>
        <translation>音高</translation>
    </message>
    <message>
        <source>♯ ▲</source>
        <translation>♯ ▲</translation>
    </message>
    <message>
        <source>Next pitch up, sharps and flats included (Shift+Up)</source>
        <translation>シャープ・フラットを含めて次の音へ上げる (Shift+↑)</translation>
    </message>
    <message>
        <source>▲</source>
        <translation>▲</translation>
    </message>
    <message>
        <source>Next natural pitch up (Up)</source>
        <translation>次の幹音へ上げる (↑)</translation>
    </message>
    <message>
        <source>▼</source>
        <translation>▼</translation>
    </message>
    <message>
        <source>Next natural pitch down (Down)</source>
        <translation>次の幹音へ下げる (↓)</translation>
    </message>
    <message>
        <source>♭ ▼</source>
        <translation>♭ ▼</translation>
    </message>
    <message>
        <source>Next pitch down, sharps and flats included (Shift+Down)</source>
        <translation>シャープ・フラットを含めて次の音へ下げる (Shift+↓)</translation>
    </message>
    <message>
        <source>Octave</source>
        <translation>オクターブ</translation>
    </message>
    <message>
        <source>An octave up, or down from the top octave (])</source>
        <translation>1オクターブ上げる。一番上のオクターブからは下げる (])</translation>
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
        <translation>全</translation>
    </message>
    <message>
        <source>half</source>
        <translation>2分</translation>
    </message>
    <message>
        <source>quarter</source>
        <translation>4分</translation>
    </message>
    <message>
        <source>eighth</source>
        <translation>8分</translation>
    </message>
    <message>
        <source>sixteenth</source>
        <translation>16分</translation>
    </message>
    <message>
        <source>thirty-second</source>
        <translation>32分</translation>
    </message>
    <message>
        <source>Blank</source>
        <translation>空白</translation>
    </message>
    <message>
        <source>Dot</source>
        <translation>付点</translation>
    </message>
    <message>
        <source>Bar</source>
        <translation>小節線</translation>
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
        <translation>音符</translation>
    </message>
    <message>
        <source>%1 rest</source>
        <translation>%1休符</translation>
    </message>
    <message>
        <source>Triplet</source>
        <translation>3連符</translation>
    </message>
    <message>
        <source>Triplet or not (9)</source>
        <translation>3連符の有無 (9)</translation>
    </message>
    <message>
        <source>Tie</source>
        <translation>タイ</translation>
    </message>
    <message>
        <source>Tied to the next note or not (8)</source>
        <translation>次の音符へのタイの有無 (8)</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>楽譜</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>上書き</translation>
    </message>
    <message>
        <source>Write the entry over the selected cell (Return)</source>
        <translation>入力した音符を選択中のセルに上書き (Return)</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>挿入</translation>
    </message>
    <message>
        <source>Insert the entry before the selected cell (/)</source>
        <translation>入力した音符を選択中のセルの前に挿入 (/)</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>Insert the entry after the selected cell (, or, on JIS keyboards, _)</source>
        <translation>入力した音符を選択中のセルの後に追加 (,、JIS キーボードでは _)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Delete the selected cells (Backspace)</source>
        <translation>選択中のセルを削除 (Backspace)</translation>
    </message>
    <message>
        <source>Transpose</source>
        <translation>移調</translation>
    </message>
    <message>
        <source>Semitone ▲</source>
        <translation>半音 ▲</translation>
    </message>
    <message>
        <source>Transpose the score, or the selected cells, a semitone up</source>
        <translation>楽譜(または選択中のセル)を半音上げる</translation>
    </message>
    <message>
        <source>Semitone ▼</source>
        <translation>半音 ▼</translation>
    </message>
    <message>
        <source>Transpose the score, or the selected cells, a semitone down</source>
        <translation>楽譜(または選択中のセル)を半音下げる</translation>
    </message>
    <message>
        <source>Chords too</source>
        <translation>コードも</translation>
    </message>
    <message>
        <source>Transposing the whole score also transposes the chord symbols</source>
        <translation>楽譜全体を移調するときにコードネームも移調する</translation>
    </message>
    <message>
        <source>Play the score from the selected cell, or stop (Space)</source>
        <translation>選択中のセルから楽譜を再生、または停止 (Space)</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>テンポ</translation>
    </message>
    <message>
        <source>Instrument in</source>
        <translation>楽器の調</translation>
    </message>
    <message>
        <source>Beats</source>
        <translation>拍子</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>絵</translation>
    </message>
    <message>
        <source>Concert pitch of A in Hz; press Return to apply</source>
        <translation>A の基準ピッチ (Hz)。Return で適用</translation>
    </message>
    <message>
        <source>A = Hz</source>
        <translation>A = Hz</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>選択範囲</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>段</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>列</translation>
    </message>
    <message>
        <source>From</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>To</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Chords</source>
        <translation>コード</translation>
    </message>
    <message>
        <source>A chord line holds at most %1 characters: the text that would make line %2 longer was not taken.</source>
        <translation>コード行は最大 %1 文字です。%2 段目を長くする分の文字は入力されませんでした。</translation>
    </message>
    <message>
        <source>The entry cell: the note you are writing. Piano keys (A S D F … and W R T …) set its pitch, 1–6 its note value; Return writes it over the selected cell.</source>
        <translation>入力セル: いま書いている音符です。ピアノのキー(A S D F … と W R T …)で音高を、1〜6 で音価を決め、Return で選択中のセルに上書きします。</translation>
    </message>
    <message>
        <source>Entry cell</source>
        <translation>入力セル</translation>
    </message>
    <message>
        <source>Empty cell</source>
        <translation>空のセル</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Dotted or not</source>
        <translation>付点の有無</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>Bar line</source>
        <translation>小節線</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Repeat start</source>
        <translation>反復の始まり</translation>
    </message>
    <message>
        <source>=</source>
        <translation>=</translation>
    </message>
    <message>
        <source>Repeat end</source>
        <translation>反復の終わり</translation>
    </message>
    <message>
        <source>` or, on JIS keyboards, ¥</source>
        <translation>`(JIS キーボードでは ¥)</translation>
    </message>
    <message>
        <source>First ending</source>
        <translation>1番かっこ</translation>
    </message>
    <message>
        <source>Shift+=</source>
        <translation>Shift+=</translation>
    </message>
    <message>
        <source>%1 note</source>
        <translation>%1音符</translation>
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
        <translation>下の段のコードネーム。音符の位置に合わせて入力します(Escape でキー操作を楽譜に戻す)</translation>
    </message>
    <message>
        <source>Chord symbols of line %1</source>
        <translation>%1 段目のコードネーム</translation>
    </message>
    <message>
        <source>The line of the score this staff shows</source>
        <translation>この五線が表示している楽譜の段</translation>
    </message>
    <message>
        <source>Click a cell to select it, Shift+click to select up to it. The arrow keys move the selection; Return writes the entry cell over it.</source>
        <translation>クリックでセルを選択、Shift+クリックでそこまで選択します。矢印キーで選択を動かし、Return で入力セルを上書きします。</translation>
    </message>
    <message>
        <source>Staff of line %1</source>
        <translation>%1 段目の五線</translation>
    </message>
    <message>
        <source>The staves&apos; size: View &gt; Zoom In, Zoom Out, Actual Size, Fit</source>
        <translation>五線の大きさ: 表示 &gt; 拡大、縮小、実際のサイズ、ウィンドウに合わせる</translation>
    </message>
    <message>
        <source>The home row from A is a piano (the row above: black keys, Shift: an octave up) · 1–6 note values · Return writes the entry · F1: all keys</source>
        <translation>A から右のキーがピアノ(上の列: 黒鍵、Shift: 1オクターブ上)・1〜6 で音価・Return で書き込み・F1: すべてのキー</translation>
    </message>
    <message>
        <source>Typing into a field · Escape gives the keys back to the score</source>
        <translation>入力欄に入力中・Escape でキー操作を楽譜に戻す</translation>
    </message>
    <message>
        <source>Escape gives the keys back to the score</source>
        <translation>Escape でキー操作を楽譜に戻す</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>拡大(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>縮小(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>実際のサイズ(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation>ウィンドウに合わせる(&amp;F)</translation>
    </message>
    <message>
        <source>Fit (%1 %)</source>
        <translation>ウィンドウに合わせる (%1 %)</translation>
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
        <translation>最近使った楽譜はありません</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>開く(&amp;O)…</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>最近使った楽譜を開く(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>名前を付けて保存(&amp;A)…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Preferences…</source>
        <translation>環境設定(&amp;P)…</translation>
    </message>
    <message>
        <source>Choose Set &amp;Folder…</source>
        <translation>セットフォルダを選択(&amp;F)…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>取り消す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直す(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Score</source>
        <translation>楽譜(&amp;S)</translation>
    </message>
    <message>
        <source>Page &amp;Up</source>
        <translation>前のページ(&amp;U)</translation>
    </message>
    <message>
        <source>Page &amp;Down</source>
        <translation>次のページ(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Song</source>
        <translation>曲(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Exercise</source>
        <translation>練習(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>ツール(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;About Sorvel Score</source>
        <translation>Sorvel Score について(&amp;A)</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>切り取り(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>貼り付け(&amp;P)</translation>
    </message>
    <message>
        <source>A&amp;dd</source>
        <translation>後ろに追加(&amp;D)</translation>
    </message>
    <message>
        <source>E&amp;xport</source>
        <translation>書き出し(&amp;X)</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The score could not be exported to %1.</source>
        <translation>楽譜を %1 に書き出せませんでした。</translation>
    </message>
    <message>
        <source>I&amp;mport MusicXML…</source>
        <translation>MusicXML を読み込む(&amp;M)…</translation>
    </message>
    <message>
        <source>MusicXML (*.musicxml *.xml *.mxl);;All files (*)</source>
        <translation>MusicXML (*.musicxml *.xml *.mxl);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>&amp;Phrase Builder…</source>
        <translation>フレーズビルダー(&amp;P)…</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>&amp;Metronome</source>
        <translation>メトロノーム(&amp;M)</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>選択…</translation>
    </message>
    <message>
        <source>Set folder:</source>
        <translation>セットフォルダ:</translation>
    </message>
    <message>
        <source>The set folder holds the picture sets and scale.csv. A new folder takes effect at the next start.</source>
        <translation>セットフォルダには絵のセットと scale.csv が入っています。新しいフォルダは次回の起動から使われます。</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>Metronome during playback</source>
        <translation>再生中にメトロノームを鳴らす</translation>
    </message>
    <message>
        <source>Volume:</source>
        <translation>音量:</translation>
    </message>
    <message>
        <source>Page Set&amp;up…</source>
        <translation>ページ設定(&amp;U)…</translation>
    </message>
    <message>
        <source>Pr&amp;int…</source>
        <translation>印刷(&amp;I)…</translation>
    </message>
    <message>
        <source>&amp;Export PDF…</source>
        <translation>PDF を書き出す(&amp;E)…</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>名称未設定 %1</translation>
    </message>
    <message>
        <source>&amp;Tuner</source>
        <translation>チューナー(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Replace…</source>
        <translation>置換(&amp;R)…</translation>
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
        <translation>圧縮 MusicXML(&amp;C)…</translation>
    </message>
    <message>
        <source>Compressed MusicXML (*.mxl)</source>
        <translation>圧縮 MusicXML (*.mxl)</translation>
    </message>
    <message>
        <source>M&amp;IDI…</source>
        <translation>M&amp;IDI…</translation>
    </message>
    <message>
        <source>Standard MIDI File (*.mid *.midi)</source>
        <translation>スタンダード MIDI ファイル (*.mid *.midi)</translation>
    </message>
    <message>
        <source>&amp;WAV…</source>
        <translation>&amp;WAV…</translation>
    </message>
    <message>
        <source>WAV audio (*.wav)</source>
        <translation>WAV 音声 (*.wav)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Keyboard</source>
        <translation>キーボード(&amp;K)</translation>
    </message>
    <message>
        <source>User &amp;Guide</source>
        <translation>ユーザーガイド(&amp;G)</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::TunerWindow</name>
    <message>
        <source>Tuner</source>
        <translation>チューナー</translation>
    </message>
    <message>
        <source>Start or stop the reference tone</source>
        <translation>基準音の開始・停止</translation>
    </message>
    <message>
        <source>Listen to the microphone and show the played note</source>
        <translation>マイクの音を聴いて、鳴っている音を表示</translation>
    </message>
    <message>
        <source>Tuning</source>
        <translation>チューニング</translation>
    </message>
    <message>
        <source>A = %1 Hz</source>
        <translation>A = %1 Hz</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>聴く</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>聴いています</translation>
    </message>
    <message>
        <source>The note&apos;s name here, and in brackets its scientific name (A4 = 440 Hz)</source>
        <translation>この楽譜での音名と、かっこ内に国際式の音名 (A4 = 440 Hz)</translation>
    </message>
</context>
<context>
    <name>sorvel::gui::UserGuideWindow</name>
    <message>
        <source>Sorvel Score User Guide</source>
        <translation>Sorvel Score ユーザーガイド</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>戻る</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>目次</translation>
    </message>
    <message>
        <source>index.html</source>
        <comment>the guide&apos;s first page, relative to guide/</comment>
        <translation>ja/index.html</translation>
    </message>
    <message>
        <source>The user guide is not installed: %1 is missing.</source>
        <translation>ユーザーガイドがインストールされていません: %1 がありません。</translation>
    </message>
</context>
</TS>
